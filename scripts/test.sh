#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build.sh
# The real-print test prints on a cups-pdf default printer.
bash scripts/cups-pdf.sh

BUILD_DIR=${ONDAVIA_BUILD_DIR:-build}
export QT_QPA_PLATFORM=offscreen
cd "$BUILD_DIR"
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
