#!/usr/bin/env bash
# Installs every Debian package that the build, the tests and the demo need.
# Safe to run again: packages already present are left as they are.
set -euo pipefail

PACKAGES=(
    # build
    build-essential cmake pkg-config git
    # stack
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libsqlite3-dev libcurl4-openssl-dev libsimdjson-dev libqrencode-dev
    # the browser panel of the web tab (an embedded Chromium)
    qt6-webengine-dev
    # tests and benchmarks
    libgtest-dev libgmock-dev libbenchmark-dev
    # display for the demo and window tests, fonts with the receipt's metrics
    xvfb xauth x11-utils fonts-liberation2 fontconfig
    # cloud simulator
    python3
    # the installer's FTP server on 127.0.0.1, for the update tests and the demo
    python3-pyftpdlib
    # a QR decoder, to read back the PIX codes we draw
    zbar-tools
    # a pseudo-terminal standing in for a serial printer in the port-print tests
    socat
    # the print library's real peers: a CUPS queue with the cups-pdf printer as the
    # default printer, and poppler to read back the pages it renders
    cups printer-driver-cups-pdf poppler-utils
    # lp: a shared printer's raw text goes to its CUPS queue
    cups-client
    # self-signed certificates for the HTTPS peers of the cloud and picture tests
    openssl
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "setup: every package is already installed"
    exit 0
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
