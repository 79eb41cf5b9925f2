#!/usr/bin/env bash
# Packs the Linux program of a CMake build folder, built, as a Debian package with CPack:
#   scripts/make-deb.sh BUILD_FOLDER DIST_FOLDER
# writes DIST_FOLDER/ebrona-installer_<version>_<architecture>.deb and prints its path. What the
# package holds and its control fields: cmake/DebianPackage.cmake.
set -euo pipefail
build=$1 dist=$2
staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$staging" >"$staging/cpack.log" 2>&1; then
  cat "$staging/cpack.log" >&2
  exit 1
fi
deb=$(cd "$staging" && echo ebrona-installer_*.deb)
mkdir -p "$dist"
mv "$staging/$deb" "$dist/$deb"
echo "$dist/$deb"
