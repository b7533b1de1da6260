#!/usr/bin/env bash
# Builds the Debian package of Vellumo: a Release build without tests in build/package, then
# cpack. Prints the path of the package (build/package/vellumo_<version>_<arch>.deb).
# VELLUMO_PACKAGE_PRESET=optimised packages the tested build of tools/test.sh instead (stripped,
# like the Release one), so CI does not build the program a third time.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
tools/setup.sh >&2
preset=${VELLUMO_PACKAGE_PRESET:-package}
cmake --preset "$preset" >&2
cmake --build --preset "$preset" >&2
rm -f build/"$preset"/vellumo_*.deb
(cd build/"$preset" && cpack -G DEB >&2)
deb=$(ls build/"$preset"/vellumo_*.deb)
echo "$top/$deb"
