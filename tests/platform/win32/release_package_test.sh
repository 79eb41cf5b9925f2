#!/usr/bin/env bash
# The release package of a built program:
#   release_package_test.sh PROGRAM VERSION
# Signed with a throwaway self-signed certificate, the signature covers the program exactly (one
# changed byte breaks it); the zip holds the program and LÄSMIG.txt with CR LF line ends, and
# SHA256SUMS beside it matches; the deployment kit for Windows is in it, its batch files and
# script with CR LF line ends too. Without a certificate the program is packed unsigned.
set -euo pipefail
program=$1 version=$2
scripts=$(cd "$(dirname "$0")/../../../scripts" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
zip=ebrona-installer-$version-windows.zip

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Ebrona test signer" \
  -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -passout pass:throwaway -out "$work/signer.p12"
EBRONA_SIGNING_PKCS12=$work/signer.p12 EBRONA_SIGNING_PASSWORD=throwaway EBRONA_TIMESTAMP_URL= \
  "$scripts/make-package.sh" "$program" "$version" "$work/dist" >/dev/null

[ "$(LC_ALL=C ls "$work/dist" | tr "\n" " ")" = "SHA256SUMS $zip " ] || fail "dist holds: $(ls "$work/dist")"
(cd "$work/dist" && sha256sum --check --quiet SHA256SUMS) || fail "SHA256SUMS does not match the zip"
python3 - "$work/dist/$zip" "$work/unpacked" <<'PYTHON' || fail "the zip's file list"
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as package:
    assert package.namelist() == ["ebrona-installer.exe", "LÄSMIG.txt", "deploy/windows/install.cmd",
        "deploy/windows/detect.ps1", "deploy/windows/startup.cmd", "deploy/ansible/windows.yml"], package.namelist()
    package.extractall(sys.argv[2])
PYTHON
for file in LÄSMIG.txt deploy/windows/{install.cmd,detect.ps1,startup.cmd}; do
  ! grep -q $'[^\r]$' "$work/unpacked/$file" || fail "$file has a line without CR LF"
done

exe=$work/unpacked/ebrona-installer.exe
osslsigncode verify -CAfile "$work/cert.pem" -in "$exe" >"$work/verify.log" 2>&1 || fail "$(cat "$work/verify.log")"
cp "$exe" "$work/changed.exe"
printf '\x5a' | dd of="$work/changed.exe" bs=1 seek=4096 conv=notrunc status=none
cmp -s "$exe" "$work/changed.exe" && fail "the byte to change was already 0x5a"
! osslsigncode verify -CAfile "$work/cert.pem" -in "$work/changed.exe" >/dev/null 2>&1 || fail "a changed byte still verifies"

message=$(env -u EBRONA_SIGNING_PKCS12 "$scripts/make-package.sh" "$program" "$version" "$work/unsigned")
grep -q "unsigned" <<<"$message" || fail "no word that the package is unsigned: $message"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extract("ebrona-installer.exe", sys.argv[2])' \
  "$work/unsigned/$zip" "$work/unsigned"
cmp -s "$program" "$work/unsigned/ebrona-installer.exe" || fail "the unsigned package does not hold the program as built"
echo "release package: signed, verified, listed and summed"
