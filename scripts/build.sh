#!/usr/bin/env bash
# Configures and builds everything into build/ (the program folder is build/bin).
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${ONDAVIA_BUILD_DIR:-build}
BUILD_TYPE=${ONDAVIA_BUILD_TYPE:-RelWithDebInfo}

cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE="$BUILD_TYPE" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
cmake --build "$BUILD_DIR" --parallel "$(nproc)"
