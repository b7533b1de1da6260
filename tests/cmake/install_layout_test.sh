#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that every file lands where the desktop
# and the program look for it, and that the desktop entry and the AppStream metainfo validate.
# Usage: install_layout_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

id=org.vellumo.Vellumo
expected="bin/vellumo
bin/vellumo-cli
libexec/vellumo/viewer
libexec/vellumo/vellumo-ocr-worker
share/applications/$id.desktop
share/icons/hicolor/128x128/apps/$id.png
share/icons/hicolor/16x16/apps/$id.png
share/icons/hicolor/24x24/apps/$id.png
share/icons/hicolor/256x256/apps/$id.png
share/icons/hicolor/32x32/apps/$id.png
share/icons/hicolor/48x48/apps/$id.png
share/icons/hicolor/64x64/apps/$id.png
share/icons/hicolor/scalable/apps/$id.svg
share/metainfo/$id.metainfo.xml
share/vellumo/Vellumo.html
share/vellumo/Vellumo_de.html
share/vellumo/Vellumo_es.html
share/vellumo/Vellumo_fr.html
share/vellumo/Vellumo_it.html
share/vellumo/Vellumo_nl.html
share/vellumo/Vellumo_pt.html
share/vellumo/sane/dll.conf
share/vellumo/sane/test.conf"
actual=$(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
if [ "$actual" != "$(echo "$expected" | LC_ALL=C sort)" ]; then
    echo "installed files differ from the expected layout:" >&2
    diff <(echo "$expected" | LC_ALL=C sort) <(echo "$actual") >&2 || true
    exit 1
fi
# Each icon has the size of its folder.
for size in 16 24 32 48 64 128 256; do
    file "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png" | grep -q "$size x $size" ||
        { echo "icon ${size}x${size} has another size" >&2; exit 1; }
done
grep -qx test "$prefix/share/vellumo/sane/dll.conf" || { echo "dll.conf lacks test" >&2; exit 1; }
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$id.metainfo.xml" ||
    { echo "metainfo has no release $version" >&2; exit 1; }

desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
echo "install layout ok"
