#!/usr/bin/env bash
# Makes the try-out sandbox afresh under build/sandbox:
#   prefix/               a Wine-style prefix: dosdevices/c: -> ../drive_c, dosdevices/d: -> ../drive_d
#   prefix/drive_c/windows/sysWOW64/
#                         msvbvm60.dll (so the folder is proposed), a stand-in regsvr32.exe that
#                         appends its arguments to regsvr32.log, and older copies of some components
#   prefix/drive_d/kopior a folder to pick for the backup copies
#   components/           the program's current folder, with the component files
# The dates are chosen so that one installation shows every outcome:
#   comdlg32.ocx, riched32.dll  older copy installed: replaced (and backed up when a backup folder is chosen)
#   msflxgrd.ocx                newer copy installed: not replaced
#   msmapi32.ocx                same day installed: not replaced
#   tabctl32.ocx                no source file: reported missing
#   msinet.ocx, richtx32.ocx, pdf_itb.ocx   not installed yet: new
set -euo pipefail

project="$(cd "$(dirname "$0")/.." && pwd)"
root="$project/build/sandbox"
prefix="$root/prefix"
system="$prefix/drive_c/windows/sysWOW64"
components="$root/components"

rm -rf "$root"
mkdir -p "$prefix/dosdevices" "$system" "$prefix/drive_c/users/ebrona" "$prefix/drive_d/kopior" "$components"
ln -s ../drive_c "$prefix/dosdevices/c:"
ln -s ../drive_d "$prefix/dosdevices/d:"

# A placeholder component at `path`, modified at `date`: the smallest file that starts as a PE image.
place() {
  local path="$1" date="$2"
  "$project/tests/support/pe-image.sh" "placeholder for $(basename "$path"), dated $date" >"$path"
  touch -d "$date" "$path"
}

place "$system/msvbvm60.dll" "2004-06-15 12:00"

# The stand-in registration tool: a plain script (not a Windows executable), started directly.
cat >"$system/regsvr32.exe" <<TOOL
#!/bin/sh
printf '%s\\n' "\$*" >>"$root/regsvr32.log"
TOOL
chmod +x "$system/regsvr32.exe"

# Already installed.
place "$system/comdlg32.ocx" "2012-03-01 09:00"
place "$system/riched32.dll" "2015-11-20 09:00"
place "$system/msflxgrd.ocx" "2023-06-01 09:00"
place "$system/msmapi32.ocx" "2020-01-15 08:00"

# To install.
place "$components/comdlg32.ocx" "2024-03-01 10:00"
place "$components/riched32.dll" "2024-03-01 10:00"
place "$components/msflxgrd.ocx" "2020-01-15 10:00"
place "$components/msmapi32.ocx" "2020-01-15 17:30"
place "$components/msinet.ocx" "2024-03-01 10:00"
place "$components/richtx32.ocx" "2024-03-01 10:00"
place "$components/pdf_itb.ocx" "2024-03-01 10:00"

echo "$root"
