#!/usr/bin/env bash
# Sets up the machine, builds, and starts the terminal.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build.sh

BUILD_DIR=${ONDAVIA_BUILD_DIR:-build}

# A demo company with a catalogue, for signing in offline.
python3 tools/demo/seed_demo.py "$BUILD_DIR/bin"

# Without a desktop, the terminal runs on a virtual screen so that it can be
# looked at with a screenshot (xwd -root -display :99).
XVFB_PID=""
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    export DISPLAY=:99
    Xvfb "$DISPLAY" -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    sleep 1
    echo "run: no desktop found; the terminal runs on the virtual screen $DISPLAY"
fi
cleanup() { [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true; }
trap cleanup EXIT

"$BUILD_DIR/bin/Ondavia"
