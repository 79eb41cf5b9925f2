#!/usr/bin/env bash
# Builds the 32-bit Release program in build-win-release/ and writes the release package:
#   dist/ebrona-installer-<version>-windows.zip  and  dist/SHA256SUMS
# The version is the one set in CMake's project(). Signing: see README, "Releasing".
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-win-release

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DEBRONA_TESTS=OFF -DEBRONA_BENCH=OFF >/dev/null
cmake --build "$build" -j"${JOBS:-$(nproc)}" --target ebrona-installer
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
exec scripts/make-package.sh "$build/ebrona-installer.exe" "$version" dist
