#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the Linux build, the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows build under Wine.
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
scripts/ensure-packages.sh

jobs=$(nproc)

echo "== Linux build and tests"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== The same tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DEBRONA_SANITIZE=ON -DEBRONA_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan --output-on-failure -j"$jobs"

echo "== The reader of component files under libFuzzer, 30 seconds"
scripts/fuzz-component-image.sh 30

echo "== Windows build and tests under Wine"
scripts/test-windows.sh
