#!/usr/bin/env bash
# The built program imports only these system DLLs: the rest is linked in statically, and what
# else it uses (common controls, Restart Manager) it loads itself after restricting the
# DLL search to the system folder. An import added by mistake would be loaded, with everything it
# loads by name, before the program's first statement.
# The program is a PE32 image for i686, PE32+ for x86_64.
#   program_imports_test.sh OBJDUMP PROGRAM PROCESSOR
set -euo pipefail
declare -A magic=([i686]="010b	(PE32)" [x86_64]="020b	(PE32+)")
headers=$("$1" -p "$2")
grep -q "^Magic[[:space:]]*${magic[$3]}\$" <<<"$headers" || { echo "FAIL: not ${magic[$3]}" >&2; exit 1; }
imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
[ "$imports" = "gdi32.dll kernel32.dll msvcrt.dll user32.dll " ] || { echo "FAIL: imports $imports" >&2; exit 1; }
