#!/usr/bin/env bash
# vellumo-cli pdf against img2pdf on 20 A4 pages at 300 dpi (10 bilevel LZW TIFF, 5 grey PNG,
# 5 colour JPEG), all made here; then --compress 75 against cjpeg on the 10 non-bilevel pages.
# Usage: bench/pdf_vs_img2pdf.sh [path/to/vellumo-cli] [runs]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cli=$(realpath "${1:-$top/build/bench/cli/vellumo-cli}")
runs=${2:-5}
convert=/usr/bin/convert
# Any monospaced TrueType font will do; DejaVu ships with Debian.
font=$(fc-match -f "%{file}" monospace 2>/dev/null || true)
[ -n "$font" ] || font=/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf
for tool in "$cli" img2pdf cjpeg /usr/bin/time $convert tiffcp; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 2; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# A page of text lines, different on every page.
words="scanning paper into portable documents keeps every page readable and small enough to mail"
page_text() {
    local n=$1 lines=""
    for ((l = 0; l < 60; l++)); do lines+="$n.$l $(echo $words | cut -d' ' -f$((l % 7 + 1))-)"$'\n'; done
    printf '%s' "$lines"
}
echo "Making the pages in $work ..." >&2
for i in $(seq -w 1 10); do
    $convert -size 2480x3508 xc:white -font "$font" -pointsize 42 -fill black \
        -annotate +180+220 "$(page_text "$i")" -draw "rectangle 180,3200 2300,3230" \
        -threshold 50% -type bilevel -units PixelsPerInch -density 300 -compress Group4 g4.tif
    tiffcp -c lzw -r 64 g4.tif "bw$i.tif"
done
for i in 1 2 3 4 5; do
    $convert -size 2480x3508 gradient:gray95-gray80 -font "$font" -pointsize 42 -fill gray20 \
        -annotate +180+220 "$(page_text "$i")" -colorspace Gray -depth 8 -units PixelsPerInch -density 300 \
        "grey$i.png"
    $convert -seed "$i" -size 620x877 plasma:fractal -blur 0x2 -resize 2480x3508! \
        -units PixelsPerInch -density 300 -quality 85 "colour$i.jpg"
done
rm -f g4.tif
pages=(bw*.tif grey*.png colour*.jpg)
others=(grey*.png colour*.jpg)
for f in "${others[@]}"; do $convert "$f" "${f%.*}.pnm"; done

# Median wall time, median CPU time (user + system) and largest peak memory over the runs of
# one command line. The machine may be shared: the CPU times are the steadier figure.
measure() {
    local label=$1; shift
    local times=() cpus=() rss=0
    for ((r = 0; r < runs; r++)); do
        /usr/bin/time -v -o tv.txt "$@" >/dev/null 2>err.txt || { cat err.txt >&2; exit 1; }
        times+=("$(awk -F': ' '/Elapsed/ {n=split($2,a,":"); s=0; for(i=1;i<=n;i++) s=s*60+a[i]; print s}' tv.txt)")
        cpus+=("$(awk -F': ' '/User time/ {u=$2} /System time/ {s=$2} END {print u+s}' tv.txt)")
        local m; m=$(awk -F': ' '/Maximum resident/ {print $2}' tv.txt)
        ((m > rss)) && rss=$m
    done
    local median cpu
    median=$(printf '%s\n' "${times[@]}" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
    cpu=$(printf '%s\n' "${cpus[@]}" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
    printf '%-44s %7.3f s wall %7.3f s cpu %8d KB\n' "$label" "$median" "$cpu" "$rss" >&2
    echo "$median $rss $cpu"
}
size() { stat -c %s "$1"; }

echo >&2
echo "machine: $(lscpu | awk -F': +' '/Model name/ {print $2}'), $(nproc) cores; runs: $runs (median)" >&2
read -r t_img m_img c_img < <(measure "img2pdf (20 pages)" img2pdf -o ref.pdf "${pages[@]}")
read -r t_vel m_vel c_vel < <(measure "vellumo-cli pdf (20 pages)" "$cli" pdf -o out.pdf "${pages[@]}")
read -r t_cmp m_cmp c_cmp < <(measure "vellumo-cli pdf --compress 75 (20 pages)" "$cli" pdf --compress 75 -o outc.pdf "${pages[@]}")
read -r t_cj _ c_cj < <(measure "cjpeg -quality 75 (10 non-bilevel pages)" bash -c 'for f in '"${others[*]}"'; do cjpeg -quality 75 -outfile "${f%.*}.cj.jpg" "${f%.*}.pnm"; done')
read -r t_bw _ c_bw < <(measure "vellumo-cli pdf (10 bilevel pages)" "$cli" pdf -o bw.pdf bw*.tif)

s_img=$(size ref.pdf); s_vel=$(size out.pdf)
qpdf --check out.pdf >/dev/null && qpdf --check outc.pdf >/dev/null
[ "$(pdfinfo out.pdf | awk '/^Pages/ {print $2}')" = 20 ]
echo >&2
awk -v ti="$t_img" -v tv="$t_vel" -v mi="$m_img" -v mv="$m_vel" -v si="$s_img" -v sv="$s_vel" \
    -v tc="$t_cmp" -v tj="$t_cj" -v tb="$t_bw" -v ci="$c_img" -v cv="$c_vel" -v cc="$c_cmp" \
    -v cj="$c_cj" -v cb="$c_bw" 'BEGIN {
    printf "time   vellumo/img2pdf   %.2fx wall, %.2fx cpu (target <= 0.5)\n", tv / ti, cv / ci
    printf "size   vellumo/img2pdf   %.3fx (%d / %d bytes, target <= 1.05)\n", sv / si, sv, si
    printf "memory vellumo/img2pdf   %.2fx (%d / %d KB, target <= 0.5)\n", mv / mi, mv, mi
    printf "--compress 75 / (cjpeg + bilevel pages)  %.2fx wall (%.3f / (%.3f + %.3f) s), %.2fx cpu (target <= 1.5)\n", tc / (tj + tb), tc, tj, tb, cc / (cj + cb)
}' >&2
