#!/bin/sh
# Starts Wine with the loader that works on this machine, with the arguments given; every script,
# test and README command that starts Wine goes through here. Debian's `wine` command starts the
# i386 loader whenever wine32 is installed, and so fails with "Exec format error" for every program,
# 64-bit ones included, on a machine that cannot run i386 code; there Wine's 64-bit loader is
# started directly, and it runs 64-bit programs only.
#   scripts/wine.sh build-win64/ebrona-installer.exe /?
#   scripts/wine.sh reg query 'HKCU\Software\Wine'
here=$(dirname "$0")
if [ "$("$here/windows-bits.sh")" = 64 ]; then
  for loader in /usr/lib/wine/wine64 "$(command -v wine64)"; do
    [ -x "$loader" ] && exec "$loader" "$@"
  done
  echo "wine64 was not found: install Debian's wine64 package." >&2
  exit 127
fi
exec wine "$@"
