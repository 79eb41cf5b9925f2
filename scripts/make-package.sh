#!/usr/bin/env bash
# Packs a built ebrona-installer.exe for release:
#   scripts/make-package.sh PROGRAM VERSION DIST_FOLDER
# writes DIST_FOLDER/ebrona-installer-VERSION-windows.zip (the program, LÄSMIG.txt, and the
# deployment kit: deploy/windows/ and the Windows playbook deploy/ansible/windows.yml; the text
# files for Windows with CR LF line ends) and DIST_FOLDER/SHA256SUMS beside it. The program is signed first when a code-signing
# certificate is named:
#   EBRONA_SIGNING_PKCS12    the certificate and its private key, a PKCS#12 (.p12/.pfx) file
#   EBRONA_SIGNING_PASSWORD  the password of that file
#   EBRONA_TIMESTAMP_URL     an RFC 3161 time-stamping server; without it the signature has no
#                            time-stamp and is valid only while the certificate is
set -euo pipefail
program=$1 version=$2 dist=$3
here=$(cd "$(dirname "$0")" && pwd)
name=ebrona-installer-$version-windows.zip

staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
cp "$program" "$staging/ebrona-installer.exe"
# With a byte order mark, so that every Notepad reads it as UTF-8.
{ printf '\xef\xbb\xbf'; sed 's/\r*$/\r/' "$here/package-files/LÄSMIG.txt"; } >"$staging/LÄSMIG.txt"
mkdir -p "$staging/deploy/windows" "$staging/deploy/ansible"
for file in install.cmd detect.ps1 startup.cmd; do
  sed 's/\r*$/\r/' "$here/../deploy/windows/$file" >"$staging/deploy/windows/$file"
done
cp "$here/../deploy/ansible/windows.yml" "$staging/deploy/ansible/"

if [ -n "${EBRONA_SIGNING_PKCS12:-}" ]; then
  timestamp=()
  if [ -n "${EBRONA_TIMESTAMP_URL:-}" ]; then
    timestamp=(-ts "$EBRONA_TIMESTAMP_URL")
  else
    echo "Signing without a time-stamp (no EBRONA_TIMESTAMP_URL)"
  fi
  # The password through a pipe, not on the command line where other users could read it.
  osslsigncode sign -pkcs12 "$EBRONA_SIGNING_PKCS12" -readpass <(printf '%s' "${EBRONA_SIGNING_PASSWORD:-}") \
    -h sha256 -n "Installera systemfiler för Ebronaprogrammen" "${timestamp[@]}" \
    -in "$staging/ebrona-installer.exe" -out "$staging/signed.exe" >/dev/null
  mv "$staging/signed.exe" "$staging/ebrona-installer.exe"
else
  echo "No code-signing certificate (EBRONA_SIGNING_PKCS12): the package is unsigned"
fi

mkdir -p "$dist"
dist=$(cd "$dist" && pwd)  # the zip is written from the staging folder
rm -f "$dist/$name"
# Python's zipfile marks the name LÄSMIG.txt as UTF-8, so that Windows shows its Ä; Debian's zip
# leaves that mark out.
(cd "$staging" && python3 - "$dist/$name" ebrona-installer.exe LÄSMIG.txt deploy/windows/install.cmd \
  deploy/windows/detect.ps1 deploy/windows/startup.cmd deploy/ansible/windows.yml) <<'PYTHON'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED, compresslevel=9) as package:
    for path in sys.argv[2:]:
        package.write(path)
PYTHON
(cd "$dist" && sha256sum "$name" >SHA256SUMS)
echo "$dist/$name"
