#!/bin/sh
# Builds the seed corpora of the codec fuzzers: small files of every variant the decoders
# handle, made by independent tools (ImageMagick, netpbm, libtiff's tools, cjpeg).
# Usage: fuzz/make_corpus.sh <folder>   (makes <folder>/<format>/ for each fuzzer)
set -eu
out=${1:?usage: make_corpus.sh <folder>}
IM=/usr/bin/convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out/tiff" "$out/bmp" "$out/jpeg" "$out/png" "$out/gif" "$out/pcx" "$out/tga" "$out/dib"

# Source pictures: colour, grey and bilevel, 37 x 23 so rows need padding.
$IM -size 37x23 gradient:red-blue -fill yellow -draw "circle 18,11 18,3" -depth 8 "$work/rgb.ppm"
$IM "$work/rgb.ppm" -colorspace gray -depth 8 "$work/grey.pgm"
$IM "$work/grey.pgm" -threshold 50% "$work/bw.pbm"
$IM -size 37x23 xc:none -fill "rgba(0,128,255,0.5)" -draw "rectangle 4,4 30,18" "$work/alpha.png"

t=$out/tiff
$IM "$work/rgb.ppm" -compress none "$t/rgb.tif"
$IM "$work/rgb.ppm" -compress lzw "$t/rgb-lzw.tif"
$IM "$work/rgb.ppm" -compress zip "$t/rgb-zip.tif"
$IM "$work/rgb.ppm" -compress jpeg "$t/rgb-jpeg.tif"
$IM "$work/rgb.ppm" -depth 16 "$t/rgb16.tif"
$IM "$work/rgb.ppm" -colorspace cmyk "$t/cmyk.tif"
$IM "$work/rgb.ppm" -colors 16 -type palette "$t/palette.tif"
$IM "$work/grey.pgm" "$t/grey.tif"
$IM "$work/grey.pgm" -depth 4 "$t/grey4.tif"
$IM "$work/grey.pgm" -depth 16 "$t/grey16.tif"
$IM "$work/alpha.png" "$t/rgba.tif"
$IM "$work/rgb.ppm" -define tiff:tile-geometry=16x16 "$t/tiled.tif"
$IM "$work/rgb.ppm" -interlace plane "$t/planar.tif"
pnmtotiff "$work/bw.pbm" > "$t/bw.tif" 2>/dev/null
tiffcp -c g4 "$t/bw.tif" "$t/bw-g4.tif"
tiffcp -c g3 "$t/bw.tif" "$t/bw-g3.tif"
tiffcp -c packbits "$t/bw.tif" "$t/bw-packbits.tif"
tiffcp -c lzw "$t/grey.tif" "$t/grey-lzw.tif"
$IM "$work/rgb.ppm" -sampling-factor 2x2 -compress jpeg -colorspace YCbCr "$t/ycbcr.tif" 2>/dev/null || true

b=$out/bmp
$IM "$work/rgb.ppm" "BMP3:$b/rgb24.bmp"
$IM "$work/rgb.ppm" -define bmp:subtype=RGB565 "$b/rgb565.bmp"
$IM "$work/alpha.png" "BMP:$b/rgba32.bmp"
$IM "$work/rgb.ppm" -colors 200 -type palette "BMP3:$b/pal8.bmp"
$IM "$work/rgb.ppm" -colors 200 -type palette -compress rle "BMP3:$b/rle8.bmp"
$IM "$work/rgb.ppm" -colors 16 -type palette "BMP3:$b/pal4.bmp"
$IM "$work/bw.pbm" -type bilevel "BMP3:$b/bw.bmp"
ppmtobmp -bpp 4 "$work/rgb.ppm" > "$b/netpbm4.bmp" 2>/dev/null || true
ppmtobmp -os2 "$work/rgb.ppm" > "$b/os2.bmp" 2>/dev/null || true
$IM "$work/rgb.ppm" "BMP2:$b/bmp2.bmp"
for f in "$b"/*.bmp; do tail -c +15 "$f" > "$out/dib/$(basename "$f" .bmp).dib"; done

j=$out/jpeg
cjpeg -quality 80 "$work/rgb.ppm" > "$j/rgb.jpg"
cjpeg -grayscale "$work/grey.pgm" > "$j/grey.jpg"
cjpeg -progressive "$work/rgb.ppm" > "$j/progressive.jpg"
cjpeg -optimize -restart 1 "$work/rgb.ppm" > "$j/restart.jpg"
cjpeg -arithmetic "$work/rgb.ppm" > "$j/arithmetic.jpg" 2>/dev/null || true
$IM "$work/rgb.ppm" -colorspace cmyk "$j/cmyk.jpg"
$IM "$work/rgb.ppm" -density 300 -units PixelsPerInch "$j/dpi.jpg"

p=$out/png
$IM "$work/rgb.ppm" "$p/rgb.png"
$IM "$work/rgb.ppm" -depth 16 "$p/rgb16.png"
$IM "$work/grey.pgm" "$p/grey.png"
$IM "$work/grey.pgm" -depth 2 "PNG8:$p/grey2.png"
$IM "$work/bw.pbm" "$p/bw.png"
$IM "$work/rgb.ppm" -colors 16 "PNG8:$p/palette.png"
$IM "$work/alpha.png" "$p/rgba.png"
$IM "$work/alpha.png" -colorspace gray "PNG32:$p/rgba-grey.png"
$IM "$work/rgb.ppm" -interlace png "$p/interlaced.png"
$IM "$work/alpha.png" -colors 8 "PNG8:$p/palette-trns.png"

g=$out/gif
$IM "$work/rgb.ppm" "$g/rgb.gif"
$IM "$work/rgb.ppm" -interlace gif "$g/interlaced.gif"
$IM "$work/alpha.png" "$g/transparent.gif"
$IM "$work/bw.pbm" "$g/bw.gif"
$IM -delay 10 "$work/rgb.ppm" "$work/grey.pgm" "$g/animated.gif"

x=$out/pcx
$IM "$work/rgb.ppm" "$x/rgb.pcx"
$IM "$work/rgb.ppm" -colors 64 -type palette "$x/palette.pcx"
$IM "$work/bw.pbm" "$x/bw.pcx"
ppmtopcx "$work/rgb.ppm" > "$x/netpbm.pcx" 2>/dev/null || true
ppmtopcx -8bit "$work/rgb.ppm" > "$x/netpbm24.pcx" 2>/dev/null || true

a=$out/tga
$IM "$work/rgb.ppm" -compress none "$a/rgb.tga"
$IM "$work/rgb.ppm" -compress rle "$a/rgb-rle.tga"
$IM "$work/alpha.png" "$a/rgba.tga"
$IM "$work/grey.pgm" "$a/grey.tga"
$IM "$work/rgb.ppm" -colors 32 -type palette "$a/palette.tga"
ppmtotga -rgb "$work/rgb.ppm" > "$a/netpbm.tga" 2>/dev/null || true
ppmtotga -cmap "$work/rgb.ppm" > "$a/netpbm-cmap.tga" 2>/dev/null || true
ppmtotga -mono "$work/grey.pgm" > "$a/netpbm-mono.tga" 2>/dev/null || true
echo "corpus in $out"
