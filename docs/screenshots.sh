#!/usr/bin/env bash
# Takes the README's screenshots from the real program: starts build/default/app/vellumo in a
# virtual X display (with a compositor, as on a desktop), clicks through it with xdotool the way
# a user would (load two image files, scan a page from the SANE test scanner and look at its
# preview, open the page menu, open the settings pages) and saves each view, cropped and made
# small, in docs/images/.
#   docs/screenshots.sh [BUILD_DIR]        (default: build/default; needs xvfb, xcompmgr,
#                                           xdotool, imagemagick and pngquant)
# The program runs with a private HOME and TMPDIR, so your own settings are not touched; the
# Email page is given example values first. The SANE test scanner is set to its "Grid" test
# picture here (the project's res/sane setting scans a plain black sheet, which shows nothing).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" != --inside ]; then
    build=$(cd "${1:-$top/build/default}" && pwd)
    [ -x "$build/app/vellumo" ] || { echo "no $build/app/vellumo: build it first" >&2; exit 1; }
    work=$(mktemp -d /tmp/scansXXXX)
    trap 'rm -rf "$work"' EXIT
    mkdir -p "$work/home/Documents" "$work/home/.config/Brackwin" "$work/tmp" "$work/sane" \
        "$top/docs/images"
    chmod 700 "$work/tmp"
    # The test scanner with a picture that shows in a screenshot.
    printf 'test\n' >"$work/sane/dll.conf"
    sed -e 's/^test-picture .*/test-picture "Grid"/' "$top/res/sane/test.conf" \
        >"$work/sane/test.conf"
    # Two pages as a user would have them: a letter (PNG) and an invoice (JPEG).
    font=DejaVu-Sans
    /usr/bin/convert -size 1240x1754 xc:white -fill black -font "$font" \
        -pointsize 44 -annotate +120+200 'Brackwin Gardens' \
        -pointsize 26 -annotate +120+260 '12 Orchard Lane, Millbrook' \
        -pointsize 30 -annotate +120+420 'Dear Ms Harper,' \
        -fill '#555555' -draw 'rectangle 120,480 1120,492 rectangle 120,520 1080,532
            rectangle 120,560 1110,572 rectangle 120,600 760,612 rectangle 120,680 1100,692
            rectangle 120,720 1040,732 rectangle 120,760 1120,772 rectangle 120,800 900,812' \
        -fill black -pointsize 30 -annotate +120+1000 'Kind regards,' \
        "$work/letter.png"
    /usr/bin/convert -size 1240x1754 xc:white -fill '#1d4f91' -draw 'rectangle 0,0 1240,180' \
        -fill white -font "$font" -pointsize 60 -annotate +100+120 'INVOICE 2026-118' \
        -fill black -pointsize 28 -annotate +100+300 'Item' -annotate +900+300 'Amount' \
        -fill '#888888' -draw 'rectangle 100,330 1140,333' -fill black \
        -annotate +100+390 'Hedge trimming' -annotate +900+390 '120.00' \
        -annotate +100+450 'Lawn care, May' -annotate +900+450 ' 85.00' \
        -annotate +100+510 'Green waste' -annotate +900+510 ' 30.00' \
        -fill '#888888' -draw 'rectangle 100,550 1140,553' -fill black \
        -pointsize 32 -annotate +100+620 'Total' -annotate +880+620 '235.00' \
        -quality 85 "$work/invoice.jpg"
    # What a user would have typed on the Email page.
    printf '%s\n' '[Settings]' 'SMTP%20Server=smtp.example.net' 'SMTP%20Port=587' \
        'SMTP%20User-id=alice' 'SMTP%20Email%20address=alice@example.net' \
        'ForwardAddress=office@example.net' >"$work/home/.config/Brackwin/Vellumo.conf"
    HOME="$work/home" TMPDIR="$work/tmp" XDG_CONFIG_HOME="$work/home/.config" \
        XDG_DATA_HOME="$work/home/.local/share" XDG_CACHE_HOME="$work/home/.cache" \
        XDG_RUNTIME_DIR="$work/tmp" SANE_CONFIG_DIR="$work/sane" \
        xvfb-run -a -s "-screen 0 1280x900x24" \
        bash "$0" --inside "$build" "$work" "$top/docs/images"
    exit
fi

build=$2 work=$3 out=$4
shots=$work/shots
mkdir -p "$shots"
xcompmgr >/dev/null 2>&1 &
comp=$!
app=
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null
    kill "$comp" 2>/dev/null
    wait 2>/dev/null || true
}
trap cleanup EXIT

snap() { sleep "${2:-1}"; import -window root "$shots/$1.png"; }
# Crops a shot to WIDTHxHEIGHT+X+Y and stores it small.
keep() {
    /usr/bin/convert "$shots/$1.png" -crop "$2" +repage -strip "$work/$1.png"
    pngquant --force --quality 70-95 --speed 1 --output "$out/$1.png" "$work/$1.png" ||
        cp "$work/$1.png" "$out/$1.png"
    echo "saved $out/$1.png ($(stat -c %s "$out/$1.png") bytes)"
}
# Clicks at a point of the main window (the coordinates of the skin image).
click() { xdotool mousemove $((wx + $1)) $((wy + $2)) click "${3:-1}"; }
waitfor() { timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -1; }

cd "$work"
"$build/app/vellumo" >"$work/vellumo.out" 2>&1 &
app=$!
win=$(waitfor '^Vellumo$')
eval "$(xdotool getwindowgeometry --shell "$win")"
wx=$X wy=$Y
sleep 3  # the scanners are looked for in the background

# LOAD PAGE: two files picked in the file dialog.
click 799 109
waitfor 'Select file' >/dev/null
sleep 1
xdotool type --delay 20 '"letter.png" "invoice.jpg"'
xdotool key Return
sleep 2

# "Disable autofeeder" (the test scanner has a feeder with ten sheets), then SCAN PAGE.
click 625 477
click 659 109
pv=$(waitfor 'Scanned image preview')
sleep 1
eval "$(xdotool getwindowgeometry --shell "$pv")"
px=$X py=$Y pw=$WIDTH ph=$HEIGHT
# Draw a crop frame over part of the picture, slowly enough for every move to arrive.
xdotool mousemove $((px + 130)) $((py + 80))
sleep 0.2
xdotool mousedown 1
for i in 1 2 3 4 5 6; do
    xdotool mousemove $((px + 130 + i * 30)) $((py + 80 + i * 45))
    sleep 0.1
done
xdotool mouseup 1
snap preview
keep preview "${pw}x${ph}+${px}+${py}"
xdotool key Return  # OK keeps the page
sleep 3
# Scroll the list up a little, so that the loaded invoice shows above the scanned page.
xdotool mousemove $((wx + 420)) $((wy + 300)) click 4
snap home
keep home "899x665+$wx+$wy"

# Right-click on the scanned page: the page menu.
click 360 330 3
snap pagemenu
keep pagemenu "300x436+$((wx + 270))+$((wy + 106))"
xdotool key Escape
sleep 0.5

# SETTINGS opens the General page, then the Email page and the Documents page.
click 119 160
snap general 3
keep general "899x665+$wx+$wy"
# "Select device": the list of scanners.
click 765 120
sd=$(waitfor '^Select Source')
sleep 1
eval "$(xdotool getwindowgeometry --shell "$sd")"
snap source
keep source "${WIDTH}x${HEIGHT}+${X}+${Y}"
xdotool key Escape
sleep 1
click 119 227
sleep 2
click 638 323
xdotool type --delay 20 'secret'
snap email
keep email "899x665+$wx+$wy"
# The Documents page.
click 119 257
snap documents 2
keep documents "899x665+$wx+$wy"

# Back HOME, then MAIL AS PDF: the send window (cancelled, the pages are kept).
click 119 115
sleep 1
click 659 572
md=$(waitfor 'Send by email')
sleep 1
eval "$(xdotool getwindowgeometry --shell "$md")"
xdotool key Tab
xdotool type --delay 20 'bob@example.net'
xdotool key Tab
xdotool type --delay 20 'Invoice and letter'
xdotool key Tab
xdotool type --delay 20 'Hello Bob, here are the two pages. Alice'
snap sendmail
keep sendmail "${WIDTH}x${HEIGHT}+${X}+${Y}"
xdotool key Escape
sleep 1
xdotool key n  # "Clear list of pages to send?" No
