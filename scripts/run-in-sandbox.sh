#!/usr/bin/env bash
# Starts the built program in a fresh sandbox (see make-sandbox.sh): the Wine-style prefix is the
# program's Windows, the components folder its current folder. Nothing outside build/sandbox is
# touched; the stand-in regsvr32.exe writes what it was asked to register to build/sandbox/regsvr32.log.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
program="$here/build/ebrona-installer"
[ -x "$program" ] || { echo "run-in-sandbox: build the program first (./run.sh does)" >&2; exit 1; }

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "run-in-sandbox: no display to show the windows on (DISPLAY is not set)." >&2
  echo "Run it on a desktop, or under a virtual one: xvfb-run -a $0" >&2
  exit 1
fi

root="$("$here/scripts/make-sandbox.sh")"
export WINEPREFIX="$root/prefix"
cd "$root/components"
echo "Sandbox: $root (regsvr32.log lists the registrations)"
exec "$program"
