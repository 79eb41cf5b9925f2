#!/usr/bin/env bash
# Builds the 32-bit Windows program and its tests with mingw-w64 in build-win/ and runs the tests
# under Wine: in a 64-bit prefix of their own (build-win/wine-prefix), where they run as 32-bit
# programs do on 64-bit Windows, with one wineserver kept running for the whole run (otherwise
# every test program waits seconds for Wine's start-up) and stopped at the end, also on failure.
# Windows go to an Xvfb display of their own; nothing appears on screen. The 64-bit program is
# built too, in build-win64/, as a build check only.
#   scripts/test-windows.sh            build and test
#   scripts/test-windows.sh --build    build only
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-win
jobs=${JOBS:-$(nproc)}

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$jobs"
cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DEBRONA_TESTS=OFF >/dev/null
cmake --build build-win64 -j"$jobs" --target ebrona-installer
[ "${1:-}" = --build ] && exit 0

export WINEPREFIX="$PWD/$build/wine-prefix" WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko installer dialogs: the program and its tests need neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
export BUILD_DIR="$build" JOBS="$jobs"
# A prefix left by an earlier 32-bit set-up is made afresh as a 64-bit one.
if grep -qs '^#arch=win32' "$WINEPREFIX/system.reg"; then rm -rf "$WINEPREFIX"; fi
mkdir -p "$WINEPREFIX"

# Runs inside xvfb-run, so every Wine process, the desktop included, has the same X display.
run_tests() {
  set -euo pipefail
  wineserver -k 2>/dev/null || true  # one left over from an interrupted run of this prefix
  local fresh=
  [ -f "$WINEPREFIX/system.reg" ] || fresh=1
  wineserver -p
  trap 'wineserver -k 2>/dev/null || true; wineserver -w' EXIT
  # Wine's virtual desktop: without a window manager on the X display, every window that is hidden
  # waits about two seconds for one to answer. The desktop reads these values when it starts, and
  # creating the prefix (the first Wine program of the first run) has started it already, so then
  # the server is restarted once.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f </dev/null >/dev/null 2>&1
  if [ -n "$fresh" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w
    wineserver -p
  fi
  # Starts Wine's services before the tests.
  wine wineboot -i </dev/null >/dev/null 2>&1
  ctest --test-dir "$BUILD_DIR" --output-on-failure --timeout 300 -j"$JOBS"
}
xvfb-run -a bash -c "$(declare -f run_tests); run_tests"
