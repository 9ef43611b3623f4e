#!/usr/bin/env bash
# Sets up the machine, builds, starts the simulator of the shop's cloud account on this
# machine, and starts the terminal against it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build.sh

BUILD_DIR=${ONDAVIA_BUILD_DIR:-build}
RUN_DIR=$(mktemp -d)

XVFB_PID=""
SIM_PID=""
FTP_PID=""
cleanup() {
    [ -n "$SIM_PID" ] && kill "$SIM_PID" 2>/dev/null || true
    [ -n "$FTP_PID" ] && kill "$FTP_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$RUN_DIR"
}
trap cleanup EXIT

# The folder the installer makes for the terminal's exchange files ("C:\Tarvel" on
# Windows): the synchronisation dumps its reply there.
mkdir -p "$HOME/Tarvel"

# The demo cloud account, on a free port of 127.0.0.1. It is the demo update site too, and
# announces a version newer than the terminal's.
python3 tools/cloud-sim/cloud_sim.py --port 0 --quiet --versao 20250501 \
    >"$RUN_DIR/sim.out" 2>"$RUN_DIR/sim.err" &
SIM_PID=$!
for _ in $(seq 1 100); do
    grep -q '^PORT ' "$RUN_DIR/sim.out" 2>/dev/null && break
    sleep 0.1
done
PORT=$(sed -n 's/^PORT //p' "$RUN_DIR/sim.out")
if [ -z "$PORT" ]; then
    echo "run: the cloud simulator did not start:" >&2
    cat "$RUN_DIR/sim.err" >&2
    exit 1
fi
export ONDAVIA_API_HOST="127.0.0.1:$PORT"
export ONDAVIA_UPDATE_HOST="127.0.0.1:$PORT"
# The portal's report pages (the purchase order) come from the simulator too.
export ONDAVIA_PORTAL_URL="http://127.0.0.1:$PORT"
echo "run: demo cloud account at $ONDAVIA_API_HOST; sign in with demo@balcona.com.br / demo123"

# The installer's file server, serving an 8 MB stand-in installer slowly enough for the
# download's progress to be seen. Its library lives in the system's Python.
mkdir -p "$RUN_DIR/ftp/public_html/downloads"
head -c 8388608 /dev/urandom >"$RUN_DIR/ftp/public_html/downloads/balcona_setup.exe"
/usr/bin/python3 tools/ftp/ftp_server.py --root "$RUN_DIR/ftp" --user demo@balcona.com.br \
    --password demoinstalar --port 0 --rate 1048576 --quiet \
    >"$RUN_DIR/ftp.out" 2>"$RUN_DIR/ftp.err" &
FTP_PID=$!
for _ in $(seq 1 100); do
    grep -q '^PORT ' "$RUN_DIR/ftp.out" 2>/dev/null && break
    sleep 0.1
done
FTP_PORT=$(sed -n 's/^PORT //p' "$RUN_DIR/ftp.out")
if [ -z "$FTP_PORT" ]; then
    echo "run: the installer's file server did not start:" >&2
    cat "$RUN_DIR/ftp.err" >&2
    exit 1
fi
export ONDAVIA_FTP_HOST="127.0.0.1:$FTP_PORT" ONDAVIA_FTP_USER=demo@balcona.com.br
export ONDAVIA_FTP_PASSWORD=demoinstalar
echo "run: demo installer on ftp://$ONDAVIA_FTP_HOST"

# Without a desktop, the terminal runs on a virtual screen so that it can be looked at
# with a screenshot (import -window root -display :99 shot.png).
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    export DISPLAY=:99
    Xvfb "$DISPLAY" -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    sleep 1
    echo "run: no desktop found; the terminal runs on the virtual screen $DISPLAY"
fi

"$BUILD_DIR/bin/Ondavia"
