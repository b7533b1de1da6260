#!/usr/bin/env bash
# Builds everything and runs every test under a virtual X display: first everything, the windows
# included, unoptimised under AddressSanitizer and UndefinedBehaviorSanitizer, with every test but
# the long quality measures over page sets; then the program optimised as shipped (the Debian
# package is made from that build) with those quality measures, which at -O0 would take many
# minutes for nothing the sanitizers see in the smaller tests of the same modules.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
tools/setup.sh
export SANE_CONFIG_DIR="$top/res/sane"
xvfb() { xvfb-run -a -s "-screen 0 1280x900x24" "$@"; }
quality='^(BilevelPages|PdfCorpus|LzwEncoder|Upright|Sides/TextPages|Pages/ResidualSkew|Pages/TurnedPageQuality|Pages/Quality|Pagemint\.A4At300Dpi|Straighten\.StraightPagesAreNotTouched|BlankPages\.BlankScansAreFound)'

# lld links the large test programs in a third of the time.
fast_link=(-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld)

if [ "${VELLUMO_SKIP_ASAN:-0}" != 1 ]; then
    # Line tables are all a sanitizer's report needs, and half the debug information to write.
    cmake --preset asan "${fast_link[@]}" -DCMAKE_CXX_FLAGS_DEBUG="-O0 -g1" \
        -DCMAKE_C_FLAGS_DEBUG="-O0 -g1"
    cmake --build --preset asan
    xvfb ctest --preset asan -E "$quality"
fi

cmake --preset optimised "${fast_link[@]}"
cmake --build --preset optimised
xvfb ctest --preset optimised -R "$quality"
