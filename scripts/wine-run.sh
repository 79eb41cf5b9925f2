#!/bin/sh
# Runs a Windows program under Wine, quietly, for ctest and for running the Windows build by hand:
#   scripts/wine-run.sh build-win/ebrona-installer.exe
# Without WINEPREFIX the prefix is the "wine-prefix" folder of the build folder that holds the
# program (the folder with CMakeCache.txt), so the tests never touch ~/.wine.
set -e
if [ -z "${WINEPREFIX:-}" ]; then
  dir=$(cd "$(dirname "$1")" && pwd)
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do
    dir=$(dirname "$dir")
  done
  [ "$dir" = / ] && dir=$(cd "$(dirname "$1")" && pwd)
  export WINEPREFIX="$dir/wine-prefix"
fi
export WINEDEBUG=-all
# A prefix that Wine creates is a 64-bit one, where the 32-bit program runs as on 64-bit Windows.
export WINEARCH="${WINEARCH:-win64}"
# No Mono or Gecko installer dialogs when Wine creates the prefix.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# Wine starts its background processes (services, the desktop window) from whichever program needs
# them first, and they inherit that program's output. Were that a pipe, its reader (ctest) would
# wait for them to end, which they never do; a file can be read when the program itself ends.
output=$(mktemp)
trap 'rm -f "$output"' EXIT
status=0
"$(dirname "$0")/wine.sh" "$@" </dev/null >"$output" 2>&1 || status=$?
cat "$output"
exit "$status"
