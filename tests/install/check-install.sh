#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what a desktop
# needs of it: a valid desktop entry and AppStream file, the file type, an
# icon in every size, and an executable that runs from where it was put.
#   check-install.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
usr="$root/usr"
id=org.quillary.Quillary

[ -x "$usr/bin/quillary" ] || fail "no executable in $usr/bin"
desktop-file-validate "$usr/share/applications/$id.desktop" \
    || fail "desktop entry does not validate"
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" \
    || fail "metainfo does not validate"
grep -q "<release version=\"$version\"" "$usr/share/metainfo/$id.metainfo.xml" \
    || fail "metainfo names another release than $version"

for size in 16 32 48 64 128 256; do
    icon="$usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ -f "$icon" ] || fail "no ${size}x${size} icon"
    file "$icon" | grep -q "PNG image data, $size x $size" || fail "$icon is not ${size}x${size}"
done
[ -f "$usr/share/icons/hicolor/scalable/apps/$id.svg" ] || fail "no scalable icon"

# The file type must parse, and claim *.dat with a low weight only.
update-mime-database "$usr/share/mime" || fail "the file type does not parse"
grep -q '^10:application/x-quillary:\*\.dat' "$usr/share/mime/globs2" \
    || fail "*.dat is not claimed with weight 10"

# The installed program answers without a display.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/quillary" --version)
[ "$out" = "Quillary $version" ] || fail "--version printed '$out'"
echo "installed layout is complete ($version)"
