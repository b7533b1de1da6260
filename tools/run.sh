#!/usr/bin/env bash
# Builds Vellumo and starts it, with the project's SANE configuration so that the SANE test
# scanner is there beside any real one.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/setup.sh"
cmake --preset default -S "$top" >/dev/null
cmake --build "$top/build/default" --target vellumo
# The trailing colon keeps the system configuration (/etc/sane.d) on the search path after ours.
export SANE_CONFIG_DIR="$top/res/sane:"
exec "$top/build/default/app/vellumo" "$@"
