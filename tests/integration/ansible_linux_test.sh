#!/usr/bin/env bash
# The Linux playbook, run for real with ansible-playbook against this machine (connection local)
# on two temporary Wine prefixes:
#   ansible_linux_test.sh PLAYBOOK DEB
# The program is the one of the Debian package DEB, unpacked into a temporary root: the play's
# apt step, which would install it into this system, is switched off (ebrona_install_program), and
# so is become, since the prefixes belong to the user that runs the test. Each prefix's
# regsvr32.exe is a stand-in script that the program starts without Wine. The play installs both
# prefixes and then finds nothing to do; a dry run on a new host, or after a newer component has
# come, reports the check's work and changes no prefix; a component dropped from the package is
# not installed; a prefix without a system folder fails alone and is named with its exit code and
# the program's reason.
set -euo pipefail
playbook=$1 deb=$2
support=$(cd "$(dirname "$0")/../support" && pwd)
# The version an installed component carries at its end.
version() { tail -c 2 "$1"; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; [ ! -f "$work/out" ] || cat "$work/out" >&2; exit 1; }
export LC_ALL=C.UTF-8 ANSIBLE_CONFIG=$work/ansible.cfg ANSIBLE_LOCAL_TEMP=$work/tmp ANSIBLE_REMOTE_TEMP=$work/tmp \
  ANSIBLE_NOCOLOR=1 ANSIBLE_PIPELINING=1
touch "$ANSIBLE_CONFIG"

dpkg -x "$deb" "$work/root"
for prefix in a b; do
  mkdir -p "$work/$prefix/drive_c/windows/system32" "$work/$prefix/dosdevices"
  ln -s ../drive_c "$work/$prefix/dosdevices/c:"
  touch "$work/$prefix/drive_c/windows/system32/msvbvm60.dll"
  printf '#!/bin/sh\nexit 0\n' >"$work/$prefix/drive_c/windows/system32/regsvr32.exe"
  chmod +x "$work/$prefix/drive_c/windows/system32/regsvr32.exe"
done
a=$work/a/drive_c/windows/system32 b=$work/b/drive_c/windows/system32
printf 'wine_hosts:\n  hosts:\n    localhost:\n      ansible_connection: local\n' >"$work/inventory.yml"
cat >"$work/vars.yml" <<VARS
ansible_become: false
ansible_python_interpreter: '{{ ansible_playbook_python }}'
ebrona_install_program: false
ebrona_program: $work/root/usr/bin/ebrona-installer
ebrona_kit_folder: $work/kit
ebrona_deb: $deb
ebrona_components: $work/komponenter.tar.gz
ebrona_prefixes: [{path: $work/a, owner: $(id -un)}, {path: $work/b, owner: $(id -un)}]
VARS

# The component archive: each "name=version" given as a minimal component, dated DATE.
archive() {
  local date=$1 file
  shift
  rm -rf "$work/komponenter" && mkdir "$work/komponenter"
  for file; do
    "$support/pe-image.sh" "${file#*=}" >"$work/komponenter/${file%%=*}"
    touch -d "$date" "$work/komponenter/${file%%=*}"
  done
  tar -czf "$work/komponenter.tar.gz" -C "$work/komponenter" .
}
# Runs the play with these options; sets $status and $changed (the recap's count).
play() {
  status=0
  ansible-playbook -i "$work/inventory.yml" -e "@$work/vars.yml" "$@" "$playbook" >"$work/out" 2>&1 || status=$?
  changed=$(sed -n 's/^localhost *: .*changed=\([0-9]*\).*/\1/p' "$work/out")
}
# The prefixes that the check task reported changed, one per line.
checked() {
  awk '/^TASK \[/ { on = /^TASK \[Would anything be copied\?\]/ } on && /^changed:/' "$work/out" |
    sed -n "s|.*(item=$work/\(.\))\$|\1|p" | tr -d '\n'
}

archive 2004-03-12 comdlg32.ocx=v1 msinet.ocx=v1
play --check
[ "$status" = 0 ] && [ "$(checked)" = ab ] || fail "a dry run on a new host: status $status, changed: $(checked)"
[ ! -e "$a/comdlg32.ocx" ] && [ ! -e "$b/comdlg32.ocx" ] || fail "a dry run installed"
play
[ "$status" = 0 ] && [ "$changed" -gt 0 ] || fail "the first run: status $status, changed=$changed"
for file in "$a/comdlg32.ocx" "$a/msinet.ocx" "$b/comdlg32.ocx" "$b/msinet.ocx"; do
  [ "$(version "$file")" = v1 ] || fail "the first run did not install $file"
done
play
[ "$status" = 0 ] && [ "$changed" = 0 ] || fail "the second run: status $status, changed=$changed"

# A newer comdlg32.ocx, and msinet.ocx no longer in the package, nor in prefix b; for the run, a
# third prefix c without a system folder, which the check refuses (4).
archive 2005-01-01 comdlg32.ocx=v2
rm "$b/msinet.ocx"
play --check
[ "$status" = 0 ] && [ "$(checked)" = ab ] || fail "a dry run after a newer component: status $status, changed: $(checked)"
[ "$(version "$a/comdlg32.ocx")$(version "$b/comdlg32.ocx")" = v1v1 ] || fail "a dry run installed the newer component"
mkdir "$work/c"
play -e "{ebrona_prefixes: [{path: $work/a, owner: $(id -un)}, {path: $work/c, owner: $(id -un)}, {path: $work/b, owner: $(id -un)}]}"
[ "$status" != 0 ] || fail "a failed prefix did not fail the play"
grep -q "$work/c: /CHECK ended with 4: ." "$work/out" || fail "the failed prefix is not named with its exit code and reason"
[ "$(version "$a/comdlg32.ocx")$(version "$b/comdlg32.ocx")" = v2v2 ] || fail "the newer component was not installed beside a failed prefix"
[ ! -e "$b/msinet.ocx" ] || fail "a component dropped from the package was installed"
echo "Linux playbook: installs, then nothing to do; dry runs tell the truth; a failed prefix fails alone"
