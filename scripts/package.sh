#!/usr/bin/env bash
# Builds the release programs and writes the release packages into dist/:
#   ebrona-installer-<version>-windows.zip  the 32-bit Windows program (build-win-release/) and the
#                                           deployment kit for Windows (deploy/)
#   ebrona-installer_<version>_amd64.deb    the Linux program (build-release/), built with Debian's
#                                           hardening flags
#   SHA256SUMS                              of both
# The version is the one set in CMake's project(). Signing: see README, "Releasing".
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-win-release linux=build-release
jobs=${JOBS:-$(nproc)}

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DEBRONA_TESTS=OFF -DEBRONA_BENCH=OFF >/dev/null
cmake --build "$build" -j"$jobs" --target ebrona-installer
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
scripts/make-package.sh "$build/ebrona-installer.exe" "$version" dist

flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
cmake -S . -B "$linux" -DCMAKE_BUILD_TYPE=Release -DEBRONA_TESTS=OFF -DEBRONA_BENCH=OFF \
  "-DCMAKE_CXX_FLAGS=$(flags CPPFLAGS) $(flags CXXFLAGS)" "-DCMAKE_EXE_LINKER_FLAGS=$(flags LDFLAGS)" \
  "-DCMAKE_MODULE_LINKER_FLAGS=$(flags LDFLAGS)" >/dev/null
cmake --build "$linux" -j"$jobs"
deb=$(scripts/make-deb.sh "$linux" dist)
echo "$deb"

zip=ebrona-installer-$version-windows.zip
(cd dist && sha256sum "$zip" "${deb##*/}" >SHA256SUMS)
