#!/usr/bin/env bash
# Builds everything and runs every test: the whole program under a virtual X display, then the
# Qt-free libraries again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
tools/setup.sh
export SANE_CONFIG_DIR="$top/res/sane"

cmake --preset default
cmake --build --preset default
xvfb-run -a -s "-screen 0 1280x900x24" ctest --preset default

if [ "${VELLUMO_SKIP_ASAN:-0}" != 1 ]; then
    cmake --preset asan
    cmake --build --preset asan
    ctest --preset asan
fi
