#!/usr/bin/env bash
# Builds everything and runs every test under a virtual X display, optimised as shipped; then the
# Qt-free libraries, vellumo-cli and their tests again, unoptimised, under AddressSanitizer and
# UndefinedBehaviorSanitizer. (The preset "asan" does the same for everything, the windows
# included: not yet clean enough for every run, see docs/ARCHITECTURE.md.)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
tools/setup.sh
export SANE_CONFIG_DIR="$top/res/sane"

cmake --preset default
cmake --build --preset default
xvfb-run -a -s "-screen 0 1280x900x24" ctest --preset default

if [ "${VELLUMO_SKIP_ASAN:-0}" != 1 ]; then
    cmake --preset asan-libs
    cmake --build --preset asan-libs
    # The quality measures over large page sets (recognition, straightening, exact bilevel
    # pages in every reader, the PDF corpus) ran above on the same code; here they would only
    # repeat them at -O0 for many minutes. Their code paths are run under the sanitizers by the
    # smaller tests of the same modules.
    quality='^(BilevelPages|PdfCorpus|LzwEncoder|Upright|Sides/TextPages|Pages/ResidualSkew|Pages/TurnedPageQuality|Pagemint\.A4At300Dpi|Straighten\.StraightPagesAreNotTouched|BlankPages\.BlankScansAreFound)'
    xvfb-run -a -s "-screen 0 1280x900x24" ctest --preset asan-libs -E "$quality"
fi
