#!/usr/bin/env bash
# Starts CUPS with a cups-pdf queue "PDF" as the default printer, for the print
# library's real-print test. Safe to run again. Where CUPS cannot be started it says
# why and leaves it; that test is then skipped.
set -uo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    if sudo -n true 2>/dev/null; then
        SUDO="sudo -n"
    else
        echo "cups-pdf: neither root nor sudo; the real-print test will be skipped"
        exit 0
    fi
fi

if ! command -v cupsd >/dev/null || ! command -v lpadmin >/dev/null; then
    echo "cups-pdf: CUPS is not installed (scripts/setup.sh); the real-print test will be skipped"
    exit 0
fi

running() { lpstat -r 2>/dev/null | grep -q "scheduler is running"; }

if ! running; then
    if [ -d /run/systemd/system ]; then
        $SUDO systemctl start cups 2>/dev/null || true
    fi
    # No service manager (a container, a fresh machine): the daemon puts itself in the
    # background.
    running || $SUDO cupsd 2>/dev/null || true
    for _ in $(seq 1 50); do
        running && break
        sleep 0.2
    done
fi
if ! running; then
    echo "cups-pdf: the CUPS scheduler did not start; the real-print test will be skipped"
    exit 0
fi

if ! lpstat -v PDF 2>/dev/null | grep -q "cups-pdf:"; then
    ppd=$(lpinfo -m 2>/dev/null | awk '/CUPS-PDF_opt/ {print $1; exit}')
    if [ -z "$ppd" ]; then
        echo "cups-pdf: the cups-pdf driver is missing (printer-driver-cups-pdf); the real-print test will be skipped"
        exit 0
    fi
    $SUDO lpadmin -p PDF -E -v cups-pdf:/ -m "$ppd" 2>/dev/null
fi
# cairo's PostScript keeps the pages' text, so the PDF that cups-pdf writes can be read
# back; the default renderer turns it into unnamed glyphs.
$SUDO lpadmin -p PDF -o pdftops-renderer-default=pdftocairo
$SUDO cupsenable PDF 2>/dev/null || true
$SUDO cupsaccept PDF 2>/dev/null || true
$SUDO lpadmin -d PDF
echo "cups-pdf: $(lpstat -d)"
