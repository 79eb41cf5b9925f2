#!/bin/sh
# Writes to standard output the smallest bytes that start as a component (a PE image), as
# tests/support/pe_image.h makes them: a DOS header whose e_lfanew (0x40) points just past it, at
# "PE\0\0", followed by the arguments as text, which tell one such file from another.
#   tests/support/pe-image.sh new comdlg32.ocx >comdlg32.ocx
printf 'MZ'
head -c 58 /dev/zero
printf '\100\000\000\000PE\000\000%s' "$*"
