#!/usr/bin/env bash
# Builds the Debian package in a configured build folder and checks it without installing
# it on this machine: the files it holds, its control fields, the menu entry and the
# AppStream data (desktop-file-validate, appstreamcli validate --pedantic), the machine-
# readable copyright, lintian with every tag shown (-i -I --pedantic: an error or warning
# fails, except the one every first upload gets), and an unpacked copy: the launcher and
# the help link lead where they should, and every library the program needs is found.
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
app_id=io.github.tetrakon.tetrakon
expected=(
    /usr/games/tetrakon
    /usr/libexec/tetrakon/tetrakon
    /usr/libexec/tetrakon/tetrakon.CHM
    /usr/libexec/tetrakon/help
    /usr/share/doc/tetrakon/html
    /usr/share/tetrakon/help/index.html
    /usr/share/tetrakon/help/controls.html
    /usr/share/tetrakon/help/menus.html
    /usr/share/tetrakon/help/presets.html
    /usr/share/tetrakon/help/style.css
    "/usr/share/applications/$app_id.desktop"
    "/usr/share/metainfo/$app_id.metainfo.xml"
    "/usr/share/icons/hicolor/scalable/apps/$app_id.svg"
    /usr/share/man/man6/tetrakon.6.gz
    /usr/share/man/ru/man6/tetrakon.6.gz
    /usr/share/tetrakon/bg.jpg
    /usr/share/doc/tetrakon/copyright
    /usr/share/doc/tetrakon/changelog.Debian.gz
    /usr/share/doc-base/tetrakon
)
for size in 16 32 48 64 128 256; do
    expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
for file in "${expected[@]}"; do
    grep -qxF "$file" "$work/contents" || fail "the package lacks $file"
done

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tetrakon ] || fail "package name is '$(field Package)'"
[ "$(field Section)" = games ] || fail "section is '$(field Section)'"
for dep in libqt6widgets6 libpulse0 libgl1-mesa-dri qt6-qpa-plugins libqt6svg6; do
    field Depends | grep -q "\b$dep\b" || fail "Depends lacks $dep: $(field Depends)"
done
for rec in xchm qt6-wayland; do
    field Recommends | grep -q "\b$rec\b" || fail "Recommends lacks $rec"
done

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
# The contents tree and the index hold every entry of their sources, not only the first
# (chmls reads them as viewers do).
help_source=$(dirname "$0")/../resources/help
for part in toc:hhc index:hhk; do
    want=$(grep -c 'name="Local"' "$help_source/tetrakon.${part#*:}")
    got=$(cd "$work" && chmls "extract${part%:*}" "$(dirname "$program")/tetrakon.CHM" "$part" \
        >/dev/null && grep -c 'name="Local"' "$part") || true
    [ "$got" = "$want" ] || fail "the help's ${part%:*} holds ${got:-no} entries, not $want"
done
[ "$(readlink -f "$root/usr/share/doc/tetrakon/html")" = "$root/usr/share/tetrakon/help" ] ||
    fail "the link for doc-base does not lead to the HTML pages"
# Minimal systems leave /usr/share/doc out: the help the program opens must not live there.
rm -rf "$root/usr/share/doc"
[ "$(readlink -f "$(dirname "$program")/help")" = "$root/usr/share/tetrakon/help" ] ||
    fail "the help link beside the program does not lead to the HTML pages"
[ -f "$(dirname "$program")/help/index.html" ] || fail "the help needs /usr/share/doc"
grep -qx 'Files: /usr/share/doc/tetrakon/html/\*.html' "$root/usr/share/doc-base/tetrakon" ||
    fail "the doc-base entry does not name the help pages"
if ldd "$program" | grep -q 'not found'; then
    fail "libraries not found: $(ldd "$program" | grep 'not found' | tr -s ' \n' ' ')"
fi

desktop=$root/usr/share/applications/$app_id.desktop
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate"
# Any message, even a pedantic one, is a fault to mend.
appstreamcli validate --pedantic --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
    fail "appstreamcli validate --pedantic"
cat "$work/appstream.log"
# appstream 0.16 (Debian 12) predates <developer>, which appstream 1.0 (Debian 13) asks for
# in place of the deprecated <developer_name>: 0.16's note of an unknown tag is let pass.
if dpkg --compare-versions "$(dpkg-query -W -f='${Version}' appstream)" lt 1.0; then
    sed -i '/^I: [^ ]*: unknown-tag developer$/d' "$work/appstream.log"
fi
grep -q '^[EWIP]:' "$work/appstream.log" && fail "appstreamcli has remarks"
grep -qx 'Exec=tetrakon' "$desktop" || fail "the menu entry does not start tetrakon"
grep -qx 'Path=/usr/share/tetrakon' "$desktop" ||
    fail "the menu entry does not start the game beside its sample picture"
grep -qx "Icon=$app_id" "$desktop" || fail "the menu entry does not name the icon $app_id"
grep -qx 'Name\[ru\]=Тетракон' "$desktop" || fail "the menu entry has no Russian name"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the AppStream data does not name the menu entry"
grep -q "<id>$app_id</id>" "$metainfo" || fail "the AppStream id is not $app_id"
echo "-- lintian"
# A first upload closes no bug report by nature; every other error or warning fails.
status=0
lintian -i -I --pedantic --fail-on none "$deb" >"$work/lintian.log" 2>&1 || status=$?
grep -v 'running with root privileges' "$work/lintian.log" || true
[ "$status" -eq 0 ] || fail "lintian did not run (exit status $status)"
if grep -E '^[EW]: ' "$work/lintian.log" | grep -qv ' initial-upload-closes-no-bugs'; then
    fail "lintian reports errors or warnings"
fi
if [ "$failures" -ne 0 ]; then
    echo "check-package: $failures failed" >&2
    exit 1
fi
echo "check-package: all checks passed"
