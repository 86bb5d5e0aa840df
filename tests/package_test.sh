#!/usr/bin/env bash
# Builds the .deb from a built tree, checks its control data and file list,
# unpacks it into a throwaway root and validates what it would install, and
# has Debian's own checker look at it.
#   package_test.sh BUILD_DIR APP_ID
set -euo pipefail
build=$1
app=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$work" >/dev/null
deb=$(ls "$work"/*.deb)
echo "built $(basename "$deb")"

fail() { echo "FAIL: $*" >&2; exit 1; }
depends=$(dpkg-deb -f "$deb" Depends)
# The X11 platform plugin is loaded at run time, so no library dependency
# names its package by itself.
xcb=$(dpkg-query -S '*/qt6/plugins/platforms/libqxcb.so' | cut -d: -f1) || fail "no X11 platform plugin is installed"
for needed in libqt6widgets6 libqt6gui6 libqt6core6 "$xcb"; do
    [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done
[[ $(dpkg-deb -f "$deb" Recommends) == *fonts-noto-cjk* ]] || fail "a Japanese font is not recommended"

files=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for path in ./usr/bin/pimbola \
            "./usr/share/applications/$app.desktop" \
            "./usr/share/metainfo/$app.metainfo.xml" \
            "./usr/share/icons/hicolor/scalable/apps/$app.svg" \
            ./usr/share/doc/pimbola/copyright \
            ./usr/share/doc/pimbola/changelog.gz \
            ./usr/share/man/man1/pimbola.1.gz; do
    grep -qxF "$path" <<<"$files" || fail "$path is not in the package"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
[ -x "$root/usr/bin/pimbola" ] || fail "the program is not executable"
desktop-file-validate "$root/usr/share/applications/$app.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app.metainfo.xml" >"$work/appstream.out" 2>&1 ||
    { cat "$work/appstream.out" >&2; fail "appstreamcli $(appstreamcli --version | awk '{print $NF}') rejects the metadata"; }
grep -qx "Icon=$app" "$root/usr/share/applications/$app.desktop" || fail "the menu entry names another icon"
grep -qx "License: GPL-3+" "$root/usr/share/doc/pimbola/copyright" || fail "the copyright file names no licence"
grep -qx "  <project_license>GPL-3.0-or-later</project_license>" "$root/usr/share/metainfo/$app.metainfo.xml" ||
    fail "the metadata names no project licence"
zcat "$root/usr/share/doc/pimbola/changelog.gz" | dpkg-parsechangelog -l - -S Version | grep -qxF "$(dpkg-deb -f "$deb" Version)" ||
    fail "the changelog's latest entry is not this version"

# Errors and warnings fail, each named; pedantic and informational notes are
# shown. lintian's own complaints (stderr) are shown too when it fails.
status=0
lintian --pedantic --info --fail-on error,warning "$deb" >"$work/lintian.out" 2>"$work/lintian.err" || status=$?
cat "$work/lintian.out"
if [ "$status" -ne 0 ]; then
    cat "$work/lintian.err" >&2
    tags=$(sed -n 's/^[EW]: [^ ]* \([^ ]*\).*/\1/p' "$work/lintian.out" | sort -u | paste -sd ' ')
    fail "lintian $(lintian --version | awk '{print $2}') (status $status) failed on: ${tags:-no error or warning tag, see above}"
fi
echo "package: dependencies declared, files in place, licence named, desktop entry and metadata valid, lintian clean"
