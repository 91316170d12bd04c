#!/usr/bin/env bash
# Builds the Debian package in a configured build folder and checks it without installing
# it on this machine: the files it holds, its control fields, the menu entry and the
# AppStream data (desktop-file-validate, appstreamcli), lintian (errors fail, warnings are
# shown), and an unpacked copy: the launcher leads to the real program, the help sits
# beside that, and every library the program needs is found.
#   tools/check-package.sh build
set -euo pipefail
build=$(cd "${1:?usage: check-package.sh <build folder>}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

echo "-- cpack"
rm -f "$build"/tetrakon_*.deb
if ! (cd "$build" && cpack -G DEB >"$work/cpack.log" 2>&1); then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack" >&2
    exit 1
fi
debs=("$build"/tetrakon_*.deb)
[ -f "${debs[0]}" ] || { echo "FAIL: cpack made no tetrakon_*.deb" >&2; exit 1; }
deb=${debs[0]}
echo "$deb"

echo "-- contents"
dpkg-deb -c "$deb" | awk '{ sub(/^\./, "", $6); print $6 }' >"$work/contents"
expected=(
    /usr/games/tetrakon
    /usr/libexec/tetrakon/tetrakon
    /usr/libexec/tetrakon/tetrakon.CHM
    /usr/libexec/tetrakon/help/index.html
    /usr/libexec/tetrakon/help/controls.html
    /usr/libexec/tetrakon/help/menus.html
    /usr/libexec/tetrakon/help/presets.html
    /usr/libexec/tetrakon/help/style.css
    /usr/share/applications/io.github.tetrakon.Tetrakon.desktop
    /usr/share/metainfo/io.github.tetrakon.Tetrakon.metainfo.xml
    /usr/share/man/man6/tetrakon.6.gz
    /usr/share/tetrakon/bg.jpg
    /usr/share/doc/tetrakon/copyright
    /usr/share/doc/tetrakon/changelog.Debian.gz
)
for size in 16 32 48 64 128 256; do
    expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/tetrakon.png")
done
for file in "${expected[@]}"; do
    grep -qxF "$file" "$work/contents" || fail "the package lacks $file"
done

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tetrakon ] || fail "package name is '$(field Package)'"
[ "$(field Section)" = games ] || fail "section is '$(field Section)'"
for dep in libqt6widgets6 libqt6multimedia6 libgl1-mesa-dri qt6-qpa-plugins; do
    field Depends | grep -q "\b$dep\b" || fail "Depends lacks $dep: $(field Depends)"
done
field Recommends | grep -q '\bxchm\b' || fail "Recommends lacks xchm"

echo "-- unpacked"
root=$work/root
dpkg -x "$deb" "$root"
launcher=$root/usr/games/tetrakon
program=$root/usr/libexec/tetrakon/tetrakon
[ -L "$launcher" ] || fail "the launcher is not a symbolic link"
[ "$(readlink -f "$launcher")" = "$program" ] ||
    fail "the launcher leads to $(readlink -f "$launcher"), not the program"
[ "$(head -c 4 "$program" | od -An -c | tr -d ' ')" = '177ELF' ] || fail "the program is no ELF file"
[ "$(head -c 4 "$(dirname "$program")/tetrakon.CHM")" = ITSF ] ||
    fail "no compiled help (ITSF) beside the program"
if ldd "$program" | grep -q 'not found'; then
    fail "libraries not found: $(ldd "$program" | grep 'not found' | tr -s ' \n' ' ')"
fi

desktop=$root/usr/share/applications/io.github.tetrakon.Tetrakon.desktop
metainfo=$root/usr/share/metainfo/io.github.tetrakon.Tetrakon.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
grep -qx 'Exec=tetrakon' "$desktop" || fail "the menu entry does not start tetrakon"
grep -qx 'Name\[ru\]=Тетракон' "$desktop" || fail "the menu entry has no Russian name"
grep -q '<launchable type="desktop-id">io.github.tetrakon.Tetrakon.desktop</launchable>' \
    "$metainfo" || fail "the AppStream data does not name the menu entry"

echo "-- lintian"
status=0
lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || status=$?
grep -v 'running with root privileges' "$work/lintian.log" || true
if [ "$status" -ne 0 ] || grep -q '^E:' "$work/lintian.log"; then
    fail "lintian reports errors (exit status $status)"
fi

if [ "$failures" -ne 0 ]; then
    echo "check-package: $failures failed" >&2
    exit 1
fi
echo "check-package: all checks passed"
