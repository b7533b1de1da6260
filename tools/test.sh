#!/usr/bin/env bash
# Builds everything and runs every test under a virtual X display: once optimised as shipped, then
# everything again unoptimised under AddressSanitizer and UndefinedBehaviorSanitizer.
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
    xvfb-run -a -s "-screen 0 1280x900x24" ctest --preset asan
fi
