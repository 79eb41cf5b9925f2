#!/usr/bin/env bash
# Builds the Windows program with mingw-w64 and runs its tests under Wine, in a 64-bit prefix of
# their own (<build>/wine-prefix), with one wineserver kept running for the whole run (otherwise
# every test program waits seconds for Wine's start-up) and stopped at the end, also on failure.
# Windows go to an Xvfb display of their own; nothing appears on screen.
#
# Where this machine runs 32-bit programs, the shipped 32-bit program and its tests are built in
# build-win/ and run there as on 64-bit Windows; the 64-bit program is built in build-win64/ as a
# build check only. Where it runs 64-bit code only (scripts/windows-bits.sh says 64; set
# EBRONA_64BIT_ONLY=1 to take this path anywhere), the 32-bit program is still built and given the
# checks that need no execution (its format, imports, signature and package, and its version
# resource and manifest read by the 64-bit test program), and the tests run on the 64-bit build,
# where those that are about the 32-bit program on 64-bit Windows skip themselves and say why.
# The last line of the run, also written to build-win/windows-tests.txt, says what was tested.
#   scripts/test-windows.sh            build and test
#   scripts/test-windows.sh --build    build only
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=${JOBS:-$(nproc)}
bits=$(scripts/windows-bits.sh)
configure() {  # folder, toolchain, further options
  cmake -S . -B "$1" -DCMAKE_TOOLCHAIN_FILE="$2" -DCMAKE_BUILD_TYPE=Release "${@:3}" >/dev/null
}

if [ "$bits" = 32 ]; then
  build=build-win
  configure "$build" cmake/mingw-w64.cmake
  cmake --build "$build" -j"$jobs"
  configure build-win64 cmake/mingw-w64-x86_64.cmake -DEBRONA_TESTS=OFF
  cmake --build build-win64 -j"$jobs" --target ebrona-installer
else
  echo "This machine cannot run 32-bit programs: the Windows tests run on the 64-bit build."
  configure build-win cmake/mingw-w64.cmake
  cmake --build build-win -j"$jobs" --target ebrona-installer
  build=build-win64
  configure "$build" cmake/mingw-w64-x86_64.cmake -DEBRONA_SHIPPED_PROGRAM="$PWD/build-win/ebrona-installer.exe"
  cmake --build "$build" -j"$jobs"
fi
[ "${1:-}" = --build ] && exit 0
if [ "$bits" = 64 ]; then
  # What needs no execution of the 32-bit program: its imports, its format and its package.
  ctest --test-dir build-win --output-on-failure -L no-execution
fi

export WINEPREFIX="$PWD/$build/wine-prefix" WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko installer dialogs: the program and its tests need neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
export BUILD_DIR="$build" JOBS="$jobs"
# Each test program's results, for the count of skipped tests (Z: is the root of the Linux files).
results="$PWD/$build/test-results"
rm -rf "$results"
mkdir -p "$results"
export GTEST_OUTPUT="xml:Z:$results/"
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
  scripts/wine.sh reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
  scripts/wine.sh reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f </dev/null >/dev/null 2>&1
  if [ -n "$fresh" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w
    wineserver -p
  fi
  # Starts Wine's services before the tests.
  scripts/wine.sh wineboot -i </dev/null >/dev/null 2>&1
  ctest --test-dir "$BUILD_DIR" --output-on-failure --timeout 300 -j"$JOBS"
}
xvfb-run -a bash -c "$(declare -f run_tests); run_tests"

skipped=$(cat "$results"/*.xml 2>/dev/null | grep -c 'result="skipped"' || true)
if [ "$bits" = 32 ]; then
  summary="The Windows tests ran on the 32-bit build; $skipped skipped."
else
  summary="This machine cannot run 32-bit programs: the Windows tests ran on the 64-bit build; $skipped skipped."
fi
echo "$summary" | tee build-win/windows-tests.txt
