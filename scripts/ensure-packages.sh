#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the release package need, when any is
# missing. The 32-bit Windows program's tests need Wine's 32-bit half (wine32 from the i386
# architecture), so that architecture is enabled first when it is not.
# Works as root, or as a user with sudo.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-qpa-plugins libgl-dev
  fonts-liberation  # narrow sans-serif with the Windows dialog fonts' metrics: captions fit their boxes
  xvfb xauth
  mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine64 wine wine32:i386
  mingw-w64-tools  # widl: the type libraries of the stand-in components the tests build
  clang libclang-rt-14-dev  # the component image reader's fuzz target (clang with libFuzzer)
  osslsigncode openssl python3  # the signed release package (python3 writes its zip) and its test
  dpkg-dev file lintian man-db  # the Debian package (CPack with dpkg-shlibdeps) and its test
  ansible-core ansible-lint  # the Linux playbook's test (deploy/ansible) and its lint
)

as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive

updated=
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "Enabling the i386 architecture for wine32"
  "${as_root[@]}" dpkg --add-architecture i386
  "${as_root[@]}" apt-get update -qq
  updated=1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
[ -n "$updated" ] || "${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
