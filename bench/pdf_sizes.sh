#!/usr/bin/env bash
# File sizes of vellumo-cli pdf against its own G4, img2pdf and `ocrmypdf --optimize 1`, all in
# the same run, on pages made here: text rendered at 300 and 600 dpi, scans of text with blur and
# sensor noise (all bilevel, as G4 TIFF files), grey scans (PNG) and camera-like JPEGs; JBIG2
# encoding time per page (pdf_bench on the rendered pages); the mixed 20-page document with
# --compress 100 and 75; and, given the vellumo-cli of another version (main), every page
# written by both, so that no page is bigger than there.
# Usage: [N300=6] [N600=3] [NSCAN=6] bench/pdf_sizes.sh [vellumo-cli] [pdf_bench] [baseline vellumo-cli]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cli=$(realpath "${1:-$top/build/bench/cli/vellumo-cli}")
bench=$(realpath "${2:-$top/build/bench/bench/pdf_bench}")
baseline=${3:-}
[ -n "$baseline" ] && baseline=$(realpath "$baseline")
convert=/usr/bin/convert
# One thread: ImageMagick's OpenMP threads spin and crawl on a shared, loaded machine.
export MAGICK_THREAD_LIMIT=${MAGICK_THREAD_LIMIT:-1}
font=$(fc-match -f "%{file}" monospace 2>/dev/null || true)
[ -n "$font" ] || font=/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf
for tool in "$cli" "$bench" img2pdf ocrmypdf cjpeg tiffcp tifftopnm pdfimages qpdf $convert; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 2; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

words="scanning paper into portable documents keeps every page readable and small enough to mail"
page_text() {
    local n=$1 lines=""
    for ((l = 0; l < 58; l++)); do lines+="$n.$l $(echo $words | cut -d' ' -f$((l % 9 + 1))-) $words"$'\n'; done
    printf '%s' "$lines"
}
# Text rendered once per page as grey (anti-aliased) A4 at dpi; the bilevel, scanned and grey
# pages are made from it, so that ImageMagick draws each text only once.
render_text() {
    local out=$1 dpi=$2 n=$3
    local w=$((2480 * dpi / 300)) h=$((3508 * dpi / 300)) pt=$((40 * dpi / 300))
    $convert -size ${w}x${h} xc:white -font "$font" -pointsize $pt -fill black \
        -annotate +$((150 * dpi / 300))+$((200 * dpi / 300)) "$(page_text "$n")" \
        -draw "rectangle $((150 * dpi / 300)),$((h - 300 * dpi / 300)) $((w - 150 * dpi / 300)),$((h - 280 * dpi / 300))" \
        -colorspace Gray -depth 8 "$out.pgm"
}
# A bilevel page from a text render as G4 TIFF and PBM; scan=1 first adds what a scanner adds:
# blur, sensor noise, a ragged threshold.
make_bilevel() {
    local out=$1 text=$2 dpi=$3 n=$4 scan=${5:-0}
    local extra="-threshold 50%"
    [ "$scan" = 1 ] && extra="-blur 0x1.3 -seed $n -attenuate 0.45 +noise Gaussian -threshold 58%"
    $convert "$text.pgm" $extra -type bilevel -units PixelsPerInch -density $dpi -compress Group4 "$out.tif"
    tifftopnm -quiet "$out.tif" >"$out.pbm"
}
n300=${N300:-6}; n600=${N600:-3}; nscan=${NSCAN:-6}
echo "Making the pages in $work ..." >&2
for ((i = 1; i <= (n300 > nscan ? n300 : nscan); i++)); do render_text "text300_$i" 300 "$i"; done
for ((i = 1; i <= n600; i++)); do render_text "text600_$i" 600 "$i"; make_bilevel "t600_$i" "text600_$i" 600 "$i"; done
for ((i = 1; i <= n300; i++)); do make_bilevel "t300_$i" "text300_$i" 300 "$i"; done
for ((i = 1; i <= nscan; i++)); do make_bilevel "s300_$i" "text300_$i" 300 "$i" 1; done
for i in 1 2 3 4 5; do
    t=text300_$(( (i - 1) % (n300 > nscan ? n300 : nscan) + 1 ))
    $convert -size 2480x3508 gradient:gray96-gray84 "$t.pgm" -compose multiply -composite \
        -blur 0x0.8 -seed "$i" -attenuate 0.25 +noise Gaussian -colorspace Gray -depth 8 \
        -units PixelsPerInch -density 300 "grey$i.png"
    $convert -seed "$i" -size 620x877 plasma:fractal -blur 0x2 -resize 2480x3508! \
        -attenuate 0.3 +noise Gaussian -units PixelsPerInch -density 300 ppm:- |
        cjpeg -quality 92 -outfile "photo$i.jpg"
done
sets=(t300 t600 s300)

size() { stat -c %s "$1"; }
median() { sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

echo >&2
echo "machine: $(lscpu | awk -F': +' '/Model name/ {print $2}'), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)" >&2
echo "== Bilevel pages: PDF bytes per set (sum of the single-page PDFs for vellumo-cli) ==" >&2
printf '%-6s %6s %10s %10s %10s %10s %10s %8s\n' set pages "G4 TIFF" "vel g4" "vel jbig2" "vel auto" img2pdf ocrmypdf >&2
ratios=()
for set in "${sets[@]}"; do
    files=("$set"_*.tif)
    tifs=0; g4=0; jb=0; au=0
    for f in "${files[@]}"; do
        tifs=$((tifs + $(size "$f")))
        "$cli" pdf --bilevel=g4 -o g.pdf "$f"; "$cli" pdf --bilevel=jbig2 -o j.pdf "$f"; "$cli" pdf -o a.pdf "$f"
        g4=$((g4 + $(size g.pdf))); jb=$((jb + $(size j.pdf))); au=$((au + $(size a.pdf)))
        ratios+=("$set $(awk -v j="$(size j.pdf)" -v g="$(size g.pdf)" 'BEGIN {print j / g}')")
        [ "$(size a.pdf)" -le "$(size g.pdf)" ] && [ "$(size a.pdf)" -le "$(size j.pdf)" ] || { echo "auto bigger than a coding on $f" >&2; exit 1; }
    done
    img2pdf -o "$set-img2pdf.pdf" "${files[@]}"
    ocr=n/a
    if timeout 900 ocrmypdf -q -j 1 --optimize 1 --skip-text --output-type pdf "$set-img2pdf.pdf" "$set-ocr.pdf" 2>ocr.err; then
        ocr=$(size "$set-ocr.pdf")
    fi
    printf '%-6s %6d %10d %10d %10d %10d %10d %8s\n' "$set" "${#files[@]}" "$tifs" "$g4" "$jb" "$au" "$(size "$set-img2pdf.pdf")" "$ocr" >&2
done
echo >&2
for set in t300 t600 s300 text; do
    sel=$set; [ "$set" = text ] && sel='t[36]00'
    m=$(printf '%s\n' "${ratios[@]}" | awk -v s="^$sel\$" '$1 ~ s {print $2}' | median)
    printf 'JBIG2 / our G4, median per page, %-5s %.3f\n' "$set:" "$m" >&2
done
echo "(target for text pages: <= 0.6)" >&2

echo >&2
echo "== JBIG2 encoding time per page (pdf_bench, CPU time; target <= 40 ms for A4 at 300 dpi) ==" >&2
pages=$(ls "$work"/t300_*.pbm "$work"/s300_*.pbm | paste -sd: -)
VELLUMO_BENCH_PAGES="$pages" "$bench" --benchmark_filter='Encode' --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true 2>/dev/null | awk '/_median/ {print}' >&2

echo >&2
echo "== Mixed 20-page document: 10 bilevel G4 TIFF (text and scans), 5 grey PNG scans, 5 camera JPEGs ==" >&2
mixed=()
for ((i = 0; i < 10; i++)); do
    if ((i % 2 == 0)); then mixed+=("t300_$((i / 2 % n300 + 1)).tif"); else mixed+=("s300_$((i / 2 % nscan + 1)).tif"); fi
done
mixed+=(grey1.png grey2.png grey3.png grey4.png grey5.png photo1.jpg photo2.jpg photo3.jpg photo4.jpg photo5.jpg)
sum=0; for f in "${mixed[@]}"; do sum=$((sum + $(size "$f"))); done
"$cli" pdf -o m-plain.pdf "${mixed[@]}"
"$cli" pdf --compress 100 -o m100.pdf "${mixed[@]}"
"$cli" pdf --compress 75 -o m75.pdf "${mixed[@]}"
img2pdf -o m-img2pdf.pdf "${mixed[@]}"
for p in m-plain.pdf m100.pdf m75.pdf; do qpdf --check "$p" >/dev/null; done
awk -v s="$sum" -v p="$(size m-plain.pdf)" -v a="$(size m100.pdf)" -v b="$(size m75.pdf)" -v i="$(size m-img2pdf.pdf)" 'BEGIN {
    printf "sum of the page files       %10d bytes\n", s
    printf "img2pdf                     %10d bytes  %.3f x the files\n", i, i / s
    printf "vellumo-cli pdf             %10d bytes  %.3f x the files\n", p, p / s
    printf "vellumo-cli pdf --compress 100 %7d bytes  %.3f x the files (target <= 1.02)\n", a, a / s
    printf "vellumo-cli pdf --compress 75  %7d bytes  %.3f x --compress 100 (target < 1)\n", b, b / a
}' >&2

if [ -n "$baseline" ]; then
    echo >&2
    echo "== Every page, alone, against $baseline ==" >&2
    all=(t300_*.tif t600_*.tif s300_*.tif grey*.png photo*.jpg)
    # The bilevel pages also as PNG and LZW TIFF, the forms that were decoded and G4-encoded.
    for f in t300_1 s300_1; do $convert "$f.tif" "$f-png.png"; tiffcp -c lzw "$f.tif" "$f-lzw.tif"; all+=("$f-png.png" "$f-lzw.tif"); done
    bigger=0; checked=0
    for f in "${all[@]}"; do
        for opt in "" "--compress 100" "--compress 75"; do
            "$baseline" pdf $opt -o old.pdf "$f"; "$cli" pdf $opt -o new.pdf "$f"
            checked=$((checked + 1))
            if [ "$(size new.pdf)" -gt "$(size old.pdf)" ]; then
                bigger=$((bigger + 1)); echo "bigger: $f $opt $(size old.pdf) -> $(size new.pdf)" >&2
            fi
        done
    done
    echo "pages bigger than with the baseline: $bigger of $checked (target: 0)" >&2
fi
