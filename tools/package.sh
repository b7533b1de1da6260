#!/usr/bin/env bash
# Builds the Debian package of Vellumo: a Release build without tests in build/package, then
# cpack. Prints the path of the package (build/package/vellumo_<version>_<arch>.deb).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
tools/setup.sh >&2
cmake --preset package >&2
cmake --build --preset package -j2 >&2
rm -f build/package/vellumo_*.deb
(cd build/package && cpack -G DEB >&2)
deb=$(ls build/package/vellumo_*.deb)
echo "$top/$deb"
