#!/usr/bin/env bash
# The Windows deployment kit under Wine's cmd, with the built program, in a Wine prefix of its own:
#   deploy_windows_test.sh PROGRAM TOOL_STAND_IN KIT_FOLDER
# Wine's robocopy copies nothing and its icacls changes nothing, so both are stand-ins (the
# TOOL_STAND_IN program runs robocopy.cmd or icacls.cmd beside it) found first on PATH: robocopy
# mirrors with xcopy, which keeps the files' dates. Exit codes are read inside Wine, whole.
# install.cmd ends with its own code when the folder cannot be locked down (10) or the package not
# copied (11), and doing neither then; else it installs from the copy and ends with the program's
# code. startup.cmd ends with 0 when the check finds nothing to copy, and else installs from the
# share, writes the log and ends with the program's code. A component that Wine's regsvr32 cannot
# load makes that code 3.
set -euo pipefail
program=$1 stand_in=$2 kit=$3
wine=$(cd "$(dirname "$0")/../../../../scripts" && pwd)/wine.sh
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$wine" wineboot -i </dev/null >/dev/null 2>&1
c=$WINEPREFIX/drive_c
# The system folder of a 64-bit program, or of a 32-bit one on 64-bit Windows.
system=$c/windows/system32
file -b "$program" | grep -q '^PE32+' || system=$c/windows/syswow64
touch "$system/msvbvm60.dll"
mkdir "$c/verktyg" "$c/paket"
cp "$stand_in" "$c/verktyg/robocopy.exe"
cp "$stand_in" "$c/verktyg/icacls.exe"
cp "$program" "$kit/install.cmd" "$kit/startup.cmd" "$c/paket/"
"$(dirname "$0")/../../../support/pe-image.sh" v1 >"$c/paket/comdlg32.ocx"
touch -d 2004-03-12 "$c/paket/comdlg32.ocx"

# Runs a command line in Wine's cmd with the stand-ins first on PATH; prints its exit code.
run() {
  { "$wine" cmd /v:on /c "set PATH=c:\\verktyg;%PATH%& $1 & echo exit=!errorlevel!" </dev/null 2>/dev/null || true; } |
    tr -d '\r' | sed -n 's/^exit=//p'
}
mirror='@echo off\r\nif exist "%%~2\\" rmdir /s /q "%%~2"\r\nxcopy "%%~1" "%%~2\\" /E /I /Q /Y /K >nul\r\nif errorlevel 1 exit /b 16\r\nexit /b 1\r\n'

komp=$c/ProgramData/Ebrona/Komponenter
while read -r icacls robocopy expected; do
  printf '@exit /b %s\r\n' "$icacls" >"$c/verktyg/icacls.cmd"
  if [ "$robocopy" = mirror ]; then printf "$mirror" >"$c/verktyg/robocopy.cmd"; else
    printf '@exit /b %s\r\n' "$robocopy" >"$c/verktyg/robocopy.cmd"; fi
  code=$(run 'c:\paket\install.cmd')
  [ "$code" = "$expected" ] || fail "install.cmd with icacls $icacls, robocopy $robocopy: $code, not $expected"
  [ "$expected" != 10 ] || [ ! -e "$komp" ] || fail "install.cmd copied the package into a folder it could not lock down"
  [ "$expected" != 11 ] || [ ! -e "$c/ProgramData/Ebrona/installation.log" ] || fail "install.cmd ran after a failed copy"
done <<'CASES'
5 mirror 10
0 8 11
0 mirror 3
CASES
cmp -s "$c/paket/comdlg32.ocx" "$system/comdlg32.ocx" || fail "install.cmd did not install the component"
[ -s "$c/ProgramData/Ebrona/installation.log" ] || fail "install.cmd wrote no log"

log=$c/windows/temp/ebrona-installer.log
code=$(run 'c:\paket\startup.cmd c:\paket')
[ "$code" = 0 ] && [ ! -e "$log" ] || fail "startup.cmd with nothing to copy: exit $code, log $(ls "$log" 2>&1)"
touch -d 2005-01-01 "$c/paket/comdlg32.ocx"
code=$(run 'c:\paket\startup.cmd c:\paket')
[ "$code" = 3 ] && [ -s "$log" ] || fail "startup.cmd with a newer component: exit $code, log $(ls "$log" 2>&1)"
cmp -s "$c/paket/comdlg32.ocx" "$system/comdlg32.ocx" || fail "startup.cmd did not install the component"
echo "Windows kit: install.cmd and startup.cmd install and pass their exit codes on"
