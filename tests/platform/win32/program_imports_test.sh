#!/usr/bin/env bash
# The built program imports only these system DLLs: the rest is linked in statically, and what
# else it uses (common controls, Restart Manager) it loads itself after restricting the
# DLL search to the system folder. An import added by mistake would be loaded, with everything it
# loads by name, before the program's first statement.
#   program_imports_test.sh OBJDUMP PROGRAM
set -euo pipefail
imports=$("$1" -p "$2" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
[ "$imports" = "gdi32.dll kernel32.dll msvcrt.dll user32.dll " ] || { echo "FAIL: imports $imports" >&2; exit 1; }
