#!/usr/bin/env bash
# The Debian package of a built Linux program:
#   debian_package_test.sh DEB VERSION
# Packed by scripts/make-deb.sh (DEB, the name Debian gives it): its version and its changelog's
# are those of project(), its Depends are what dpkg-shlibdeps finds in its binaries, wine is recommended, it holds its files
# and nothing else, and lintian finds no errors; its manual page shows without warnings and names
# every switch and exit code of the usage text. Unpacked with dpkg -x into a temporary root, its program tells its
# version, installs a component into a temporary prefix with no display, and with Qt's offscreen
# display loads its window module from the package.
set -euo pipefail
deb=$1 version=$2
work=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
export LC_ALL=C.UTF-8

[ -f "$deb" ] || fail "no package $deb"
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), project(): $version"
[ "$(field Recommends)" = wine ] || fail "Recommends: $(field Recommends)"
lintian --fail-on error "$deb" 2>/dev/null || fail "lintian found errors"

root=$work/root
dpkg -x "$deb" "$root"
program=$root/usr/bin/ebrona-installer
module=$root/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/ebrona-installer/ebrona-installer-windows.so
manual=$root/usr/share/man/man1/ebrona-installer.1.gz
files=$(cd "$root" && find . -type f | sort)
[ "$files" = "$(cd "$root" && printf './%s\n' "${program#"$root"/}" "${module#"$root"/}" "${manual#"$root"/}" \
  usr/share/doc/ebrona-installer/{changelog.gz,copyright,examples/linux.yml,examples/inventory.yml} | sort)" ] ||
  fail "the package holds: $files"
changelog=$(zcat "$root/usr/share/doc/ebrona-installer/changelog.gz" | head -n 1)
[[ "$changelog" == "ebrona-installer ($version) "* ]] || fail "the changelog begins with $changelog"
mkdir "$work/debian" && touch "$work/debian/control"  # dpkg-shlibdeps reads it, empty will do
depends=$(cd "$work" && dpkg-shlibdeps -O "$program" "$module" 2>/dev/null)
[ "$(field Depends)" = "${depends#shlibs:Depends=}" ] || fail "Depends: $(field Depends), the binaries: $depends"

shown=$(MANWIDTH=100 man --warnings -l "$manual" 2>"$work/man-warnings")
[ ! -s "$work/man-warnings" ] || fail "the manual page: $(cat "$work/man-warnings")"
"$program" --help | awk -F '  +' '/^  [/0-9]/ { print $2 }' >"$work/usage-names"
[ "$(wc -l <"$work/usage-names")" -gt 10 ] || fail "too few switches and exit codes in the usage text"
# Each as a paragraph's tag: at the start of a line, alone or followed by a blank.
while read -r names; do
  awk -v tag="       $names" 'index($0 " ", tag " ") == 1 { found = 1 } END { exit !found }' <<<"$shown" ||
    fail "the manual page lacks \"$names\""
done <"$work/usage-names"

[ "$("$program" --version)" = "ebrona-installer $version" ] || fail "--version: $("$program" --version)"

# A prefix with its system folder, a stand-in regsvr32.exe that notes its arguments, and a component.
system=$work/prefix/drive_c/windows/system32
mkdir -p "$system" "$work/prefix/dosdevices" "$work/komponenter"
ln -s ../drive_c "$work/prefix/dosdevices/c:"
touch "$system/msvbvm60.dll"
printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s"\n' "$work/registered" >"$system/regsvr32.exe"
chmod +x "$system/regsvr32.exe"
"$(dirname "$0")/../support/pe-image.sh" new >"$work/komponenter/comdlg32.ocx"
cd "$work/komponenter"
export WINEPREFIX=$work/prefix
# Were Qt started, it would try this platform without a display and end the program.
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" /S /COMPONENTS=comdlg32.ocx ||
  fail "/S ended with $?"
cmp -s "$system/comdlg32.ocx" comdlg32.ocx || fail "/S did not copy the component"
[ "$(cat "$work/registered")" = '/s c:\windows\system32\comdlg32.ocx' ] || fail "registered: $(cat "$work/registered")"

# The window: the program is stopped once Qt's offscreen display is up, which the module starts.
QT_QPA_PLATFORM=offscreen "$program" 2>"$work/window-errors" &
pid=$!
for ((tries = 0; ; ++tries)); do
  grep -q '/libqoffscreen\.so' "/proc/$pid/maps" 2>/dev/null && break
  kill -0 "$pid" 2>/dev/null || fail "the window program ended: $(cat "$work/window-errors")"
  ((tries < 600)) || fail "no offscreen display after a minute"
  sleep 0.1
done
grep -qF "$module" "/proc/$pid/maps" || fail "the window module is not the package's"
kill "$pid"
pid=
echo "Debian package: named, versioned, its Depends computed, listed, lintian-clean, documented, run"
