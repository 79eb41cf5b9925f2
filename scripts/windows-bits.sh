#!/bin/sh
# Prints which Windows build this machine can run under Wine: "32" where i386 programs execute, so
# the shipped 32-bit program can be tested; "64" where the kernel runs 64-bit user code only (IA-32
# emulation off: every i386 execve fails with "Exec format error"). The test is whether the i386
# loader, which wine32:i386 brings with the i386 libc, can be executed, not which packages are there.
# EBRONA_64BIT_ONLY=1 answers "64" on any machine, so the 64-bit-only path can be tried where 32-bit
# programs do run.
if [ -n "${EBRONA_64BIT_ONLY:-}" ]; then
  echo 64
elif /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  echo 32
else
  echo 64
fi
