#!/bin/sh
# Peak memory of every file of the image corpus (tests/imaging/corpus) made at a page's size:
# loaded as LOAD PAGE loads it, and made into a PDF by vellumo-cli pdf without and with
# recompression. Each peak, less the peak of the same program on a one-pixel image, is set
# against the decoded picture's size; the target is at most twice that. Text recognition is off:
# Tesseract's working memory (50 to 110 MB a page) belongs to recognising, not to the file.
# Usage: bench/image_memory.sh [BUILD_DIR] [WIDTH HEIGHT]   (default build/bench, 2480 1748)
# With IMAGE_CORPUS set to a folder that make_corpus.py filled before, that corpus is measured.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build/bench}
width=${2:-2480}
height=${3:-1748}
probe=$build/bench/image_memory_probe
cli=$build/cli/vellumo-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
corpus=${IMAGE_CORPUS:-$work/c}
[ -n "${IMAGE_CORPUS:-}" ] || MAGICK_THREAD_LIMIT=1 /usr/bin/python3 \
    "$top/tests/imaging/corpus/make_corpus.py" "$corpus" --width "$width" --height "$height" \
    >/dev/null
peak() {  # peak resident memory in KB of a command line
    /usr/bin/time -f %M -o "$work/rss" "$@" >"$work/out" 2>/dev/null || true
    tail -n 1 "$work/rss"
}
convert -size 1x1 xc:white "$work/one.png"
base_load=$(peak "$probe" "$work/one.png")
base_pdf=$(peak "$cli" pdf --no-ocr -o "$work/one.pdf" "$work/one.png")
base_jpeg=$(peak "$cli" pdf --no-ocr --compress 90 -o "$work/one.pdf" "$work/one.png")
printf '%-40s %10s %8s %8s %8s\n' file decoded_KB load pdf pdf_q90
worst=0
while IFS="$(printf '\t')" read -r file format expect rest; do
    [ "$expect" = right ] || continue
    f=$corpus/$file
    decoded=$("$probe" "$f" 2>/dev/null || echo 0)
    [ "$decoded" -gt 0 ] || { echo "$file: not loaded"; continue; }
    kb=$((decoded / 1024))
    load=$(( $(peak "$probe" "$f") - base_load ))
    pdf=$(( $(peak "$cli" pdf --no-ocr -o "$work/p.pdf" "$f") - base_pdf ))
    jpeg=$(( $(peak "$cli" pdf --no-ocr --compress 90 -o "$work/p.pdf" "$f") - base_jpeg ))
    ratio() { echo "$1 $kb" | awk '{ printf "%.2f", $1 / $2 }'; }
    printf '%-40s %10d %8s %8s %8s\n' "$file" "$kb" "$(ratio $load)" "$(ratio $pdf)" "$(ratio $jpeg)"
    for r in $(ratio $load) $(ratio $pdf) $(ratio $jpeg); do
        worst=$(echo "$worst $r" | awk '{ print ($2 > $1) ? $2 : $1 }')
    done
done < "$corpus/manifest.tsv"
echo "largest ratio of peak memory to decoded size: $worst (target: at most 2)"
