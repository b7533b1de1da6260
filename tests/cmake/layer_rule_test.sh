#!/usr/bin/env bash
# A target finds the headers of the layers it links and no others: the probe that links pdf/
# builds, the one that includes pdf/ from imaging/ alone is refused for that include.
set -uo pipefail
build=$1
if ! out=$(cmake --build "$build" --target layer_probe_linked 2>&1); then
    echo "the probe that links pdf/ did not build:"; echo "$out"; exit 1
fi
if out=$(cmake --build "$build" --target layer_probe_unlinked 2>&1); then
    echo "an include of pdf/ from a target that does not link it was built"; exit 1
fi
if ! grep -q 'pdf/pdf_writer.h: No such file' <<<"$out"; then
    echo "the unlinked probe failed for another reason:"; echo "$out"; exit 1
fi
echo "layer rule holds"
