#!/usr/bin/env bash
# Installs a build into a temporary DESTDIR and checks what a desktop needs from the tree:
# the executable, its desktop entry, AppStream metadata and icons, and nothing unexpected.
# Usage: check_install.sh BUILD_DIR PREFIX EXECUTABLE APP_ID VERSION
set -euo pipefail

build_dir=$1 prefix=$2 executable=$3 app_id=$4 version=$5

destdir=$(mktemp -d)
trap 'rm -rf "$destdir"' EXIT
DESTDIR="$destdir" cmake --install "$build_dir" >/dev/null

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

root=$destdir$prefix
share=$root/share
desktop=$share/applications/$app_id.desktop
metainfo=$share/metainfo/$app_id.metainfo.xml

# The whole tree, so that a file installed by mistake (or one missing) shows up.
expected=$(sort <<LIST
$executable
$prefix/share/applications/$app_id.desktop
$prefix/share/applications/$app_id.Registro.desktop
$prefix/share/metainfo/$app_id.metainfo.xml
$prefix/share/icons/hicolor/48x48/apps/$app_id.png
$prefix/share/icons/hicolor/64x64/apps/$app_id.png
$prefix/share/icons/hicolor/128x128/apps/$app_id.png
$prefix/share/icons/hicolor/256x256/apps/$app_id.png
$prefix/share/icons/hicolor/scalable/apps/$app_id.svg
$prefix/share/man/man6/brivana.6.gz
$prefix/share/doc/brivana/copyright
$prefix/share/doc/brivana/changelog.gz
$prefix/share/doc/brivana/lab-record.md
LIST
)
installed=$(cd "$destdir" && find . -type f -o -type l | sed 's|^\.||' | sort)
if [ "$installed" != "$expected" ]; then
    fail "installed files differ from the expected ones:"
    diff <(echo "$expected") <(echo "$installed") >&2 || true
fi

# The executable runs from where it is installed, finding its libraries without a RUNPATH of ours.
if [ ! -x "$destdir$executable" ]; then
    fail "$executable is not an installed executable"
elif readelf -d "$destdir$executable" | grep -qE '\((RPATH|RUNPATH)\)'; then
    fail "$executable carries an RPATH or RUNPATH"
fi

# Desktop entry: valid, starting the installed executable, showing the installed icon.
if [ -f "$desktop" ]; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $app_id.desktop"
    entry() { sed -n "s/^$1=//p" "$desktop"; }
    [ "$(entry Exec)" = "$executable" ] || fail "Exec is '$(entry Exec)', not $executable"
    [ "$(entry Icon)" = "$app_id" ] || fail "Icon is '$(entry Icon)', not $app_id"
    [ "$(entry Categories)" = "Education;Math;" ] || fail "Categories is '$(entry Categories)'"
fi

# The teacher's entry: valid, opening the register's page with the same executable.
register_desktop=$share/applications/$app_id.Registro.desktop
if [ -f "$register_desktop" ]; then
    desktop-file-validate "$register_desktop" || fail "desktop-file-validate rejects $app_id.Registro.desktop"
    [ "$(sed -n 's/^Exec=//p' "$register_desktop" | head -1)" = "$executable --registro" ] ||
        fail "the register's entry does not run $executable --registro"
fi

# AppStream metadata: valid, naming the same application, and released as this version.
if [ -f "$metainfo" ]; then
    appstreamcli validate --no-net "$metainfo" >&2 || fail "appstreamcli rejects $app_id.metainfo.xml"
    grep -q "<id>$app_id</id>" "$metainfo" || fail "metainfo id is not $app_id"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fail "metainfo does not launch $app_id.desktop"
    grep -qE "<release version=\"$version\" date=\"[0-9]{4}-[0-9]{2}-[0-9]{2}\"" "$metainfo" ||
        fail "metainfo has no dated release $version"
fi

# Each theme icon is as large as the directory it is in says.
for size in 48 64 128 256; do
    icon=$share/icons/hicolor/${size}x$size/apps/$app_id.png
    [ -f "$icon" ] || continue
    # PNG: width and height are big-endian 32-bit numbers at bytes 16 and 20.
    read -r -a bytes <<<"$(od -An -tu1 -j16 -N8 "$icon")"
    width=$(( (bytes[0] << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3] ))
    height=$(( (bytes[4] << 24) | (bytes[5] << 16) | (bytes[6] << 8) | bytes[7] ))
    [ "$width" -eq "$size" ] && [ "$height" -eq "$size" ] ||
        fail "${size}x$size icon is ${width}x$height"
done
svg=$share/icons/hicolor/scalable/apps/$app_id.svg
[ ! -f "$svg" ] || grep -q '<svg' "$svg" || fail "the scalable icon is not an SVG picture"

for compressed in "$share/man/man6/brivana.6.gz" "$share/doc/brivana/changelog.gz"; do
    [ ! -f "$compressed" ] || gzip -t "$compressed" || fail "$compressed is not a valid gzip file"
done

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "installed tree is complete and valid"
