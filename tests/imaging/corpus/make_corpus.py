#!/usr/bin/python3
"""Makes the image corpus the codec and PDF tests read: files of every format and variant a user
may have, written by independent tools (Pillow, ImageMagick, libtiff's tools, exiftool, netpbm)
or, for layouts no tool writes, by the small writers below; and beside each file what an
independent decoder (Pillow, ImageMagick or netpbm) shows, upright and composed onto white, as a
binary PPM.

    make_corpus.py OUTDIR [--width W --height H]

writes OUTDIR/<file>, OUTDIR/ref/<file>.ppm and OUTDIR/manifest.tsv with one line a file:
    file  format  expect  compare  dpiX  dpiY  note
expect is "right" (the program must show the reference) or "refused" (it must say why it
cannot); compare is "exact", "close" (every channel within 1, for pictures composed onto white
or converted by formulas whose rounding differs between programs) or "psnr:N" (lossy data, at
least N dB); dpi 0 means the file's resolution is not checked.
"""
import math
import os
import shutil
import struct
import subprocess
import sys

from PIL import Image, ImageFile

# Exif orientation: the turn that shows the stored picture upright.
TRANSPOSE = {
    1: None,
    2: Image.Transpose.FLIP_LEFT_RIGHT,
    3: Image.Transpose.ROTATE_180,
    4: Image.Transpose.FLIP_TOP_BOTTOM,
    5: Image.Transpose.TRANSPOSE,
    6: Image.Transpose.ROTATE_270,
    7: Image.Transpose.TRANSVERSE,
    8: Image.Transpose.ROTATE_90,
}


class Corpus:
    def __init__(self, out, width, height):
        self.out = out
        self.w = width
        self.h = height
        self.lines = []
        os.makedirs(os.path.join(out, "ref"), exist_ok=True)
        self.exif_args = []  # exiftool commands, run in one process at the end

    def path(self, name):
        return os.path.join(self.out, name)

    def add(self, name, fmt, ref, expect="right", compare="exact", dpi=(0, 0), note=""):
        """Records a file; ref is the reference picture (PIL RGB) or None for refusals."""
        if ref is not None:
            ref.convert("RGB").save(self.path("ref/" + name + ".ppm"))
        self.lines.append(
            "\t".join([name, fmt, expect, compare, "%g" % dpi[0], "%g" % dpi[1], note]))

    def finish(self):
        with open(self.path("manifest.tsv"), "w") as f:
            f.write("\n".join(self.lines) + "\n")


def run(*args, **kw):
    return subprocess.run(args, check=True, capture_output=True, **kw).stdout


# ---- Pictures ----

def pattern(w, h):
    """Colour structure in both directions, a red block at the top left and a blue pixel at the
    top right, so that a picture shown turned or mirrored cannot pass."""
    im = Image.new("RGB", (w, h))
    px = im.load()
    for y in range(h):
        for x in range(w):
            px[x, y] = ((x * 7 + y * 3) % 256, (y * 11 + 40) % 256, ((x * 5) ^ (y * 9)) % 256)
    for y in range(min(4, h)):
        for x in range(min(6, w)):
            px[x, y] = (255, 0, 0)
    px[w - 1, 0] = (0, 0, 255)
    return im


def photo(w, h):
    """A smooth picture (lossy coding keeps it well) with a dark block at the top left."""
    im = Image.new("RGB", (w, h))
    px = im.load()
    for y in range(h):
        for x in range(w):
            px[x, y] = (40 + 180 * x // w, 200 - 150 * y // h, 90 + (x + y) % 60)
    for y in range(min(8, h)):
        for x in range(min(16, w)):
            px[x, y] = (10, 10, 60)
    return im


def alpha_mask(w, h):
    """Transparent at the left, opaque at the right, a ramp between."""
    m = Image.new("L", (w, h))
    px = m.load()
    for y in range(h):
        for x in range(w):
            px[x, y] = 0 if x < w // 5 else 255 if x >= 4 * w // 5 else (x * 255 // w + y) % 256
    return m


def on_white(im):
    """A picture with transparency as it shows on white paper."""
    im = im.convert("RGBA")
    white = Image.new("RGBA", im.size, (255, 255, 255, 255))
    white.alpha_composite(im)
    return white.convert("RGB")


# ---- Independent decoders ----

def pil_ref(path, transpose=None):
    im = Image.open(path)
    im.seek(0)
    im.load()
    ref = on_white(im) if im.mode in ("RGBA", "LA", "PA", "RGBa", "La") or \
        "transparency" in im.info else im.convert("RGB")
    if transpose:
        ref = ref.transpose(transpose)
    return ref


def parse_ppm(data):
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            while data[pos:pos + 1] != b"\n":
                pos += 1
            continue
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    pos += 1
    w, h, maxval = int(fields[1]), int(fields[2]), int(fields[3])
    raw = data[pos:]
    if maxval == 255:
        return Image.frombytes("RGB", (w, h), raw[:w * h * 3])
    # Sixteen bits: rounded to eight, as the program reduces them.
    vals = bytes(((raw[i] << 8 | raw[i + 1]) * 255 + 32767) // 65535
                 for i in range(0, w * h * 6, 2))
    return Image.frombytes("RGB", (w, h), vals)


def im_ref(path):
    """ImageMagick's decode with 16 bits kept, transparency composed onto white."""
    data = run("convert", path + "[0]", "-background", "white", "-alpha", "remove", "-alpha",
               "off", "-colorspace", "sRGB", "-depth", "16", "ppm:-")
    return parse_ppm(data)


def gif_ref(path):
    """ImageMagick's view of a GIF's first frame on its logical screen (Pillow fills the screen
    with colour 0 instead of the background colour)."""
    data = run("convert", path, "-coalesce", "-delete", "1--1", "-background", "white",
               "-alpha", "remove", "-alpha", "off", "-depth", "16", "ppm:-")
    return parse_ppm(data)


def netpbm_ref(tool, path):
    return parse_ppm(run("sh", "-c", "%s '%s' 2>/dev/null | ppmtoppm" % (tool, path)))


# ---- Writers for layouts no tool writes ----

def tiff(path, w, h, bits, spp, photometric, rows, sample_format=1, colormap=None, extra=None,
         planar=1, tags=None):
    """An uncompressed little-endian TIFF of one strip; rows are the packed sample bytes."""
    entries = []

    def tag(code, typ, values):
        entries.append((code, typ, values if isinstance(values, list) else [values]))

    data = b"".join(rows)
    tag(256, 4, w)
    tag(257, 4, h)
    tag(258, 3, [bits] * spp)
    tag(259, 3, 1)
    tag(262, 3, photometric)
    tag(273, 4, 0)  # patched below
    tag(277, 3, spp)
    tag(278, 4, h)
    tag(279, 4, len(data))
    tag(284, 3, planar)
    if colormap:
        tag(320, 3, colormap)
    if extra:
        tag(338, 3, extra)
    tag(339, 3, [sample_format] * spp)
    for code, typ, values in tags or []:
        tag(code, typ, values)
    entries.sort()
    ifd_at = 8
    ifd_bytes = 2 + 12 * len(entries) + 4
    extra_at = ifd_at + ifd_bytes
    blobs, ifd = b"", b""
    for code, typ, values in entries:
        if typ == 5:
            payload = b"".join(struct.pack("<II", n, d) for n, d in values)
        else:
            payload = b"".join(struct.pack("<H" if typ == 3 else "<I", v) for v in values)
        if len(payload) <= 4:
            field = payload.ljust(4, b"\0")
        else:
            field = struct.pack("<I", extra_at + len(blobs))
            blobs += payload + (b"\0" if len(payload) % 2 else b"")
        ifd += struct.pack("<HHI", code, typ, len(values)) + field
    data_at = extra_at + len(blobs)
    # The strip offset.
    out = bytearray(b"II*\0" + struct.pack("<I", ifd_at) + struct.pack("<H", len(entries)) +
                    ifd + b"\0\0\0\0" + blobs + data)
    for i, (code, typ, values) in enumerate(entries):
        if code == 273:
            struct.pack_into("<I", out, ifd_at + 2 + 12 * i + 8, data_at)
    with open(path, "wb") as f:
        f.write(out)


def pack_bits(values, bits):
    """Packs samples of `bits` bits, first sample in the high bits, into bytes."""
    acc, n, out = 0, 0, bytearray()
    for v in values:
        acc = (acc << bits) | v
        n += bits
        while n >= 8:
            n -= 8
            out.append((acc >> n) & 255)
    if n:
        out.append((acc << (8 - n)) & 255)
    return bytes(out)


def bmp(path, w, h, bits, pixel_rows, palette=(), compression=0, header_size=40,
        colours_used=None, top_down=False, data=None):
    """A BMP with the given header size (below 40 or 64: an OS/2 2.x header); pixel_rows are
    the stored rows bottom-up (or the coded data in data)."""
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    if data is None:
        stride = (w * bits + 31) // 32 * 4
        data = b"".join(r.ljust(stride, b"\0") for r in pixel_rows)
    used = len(palette) if colours_used is None else colours_used
    header = struct.pack("<IiiHHIIiiII", header_size, w, -h if top_down else h, 1, bits,
                         compression, len(data), 2835, 2835, used, 0)
    header = header[:header_size].ljust(header_size, b"\0")
    off = 14 + header_size + len(table)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", off + len(data), 0, 0, off) + header + table + data)


def rle8(rows, w):
    """Run-length codes 8-bit rows (bottom-up) as BI_RLE8: runs for repeats, literals else."""
    out = bytearray()
    for row in rows:
        x = 0
        while x < w:
            run_len = 1
            while x + run_len < w and run_len < 255 and row[x + run_len] == row[x]:
                run_len += 1
            if run_len >= 3 or w - x < 3:
                out += bytes((run_len, row[x]))
                x += run_len
                continue
            lit = 3
            while x + lit < w and lit < 255 and not (
                    x + lit + 2 < w and row[x + lit] == row[x + lit + 1] == row[x + lit + 2]):
                lit += 1
            out += bytes((0, lit)) + bytes(row[x:x + lit]) + (b"\0" if lit % 2 else b"")
            x += lit
        out += b"\0\0"
    return bytes(out + b"\0\1")


def rle4(rows, w):
    """BI_RLE4 with two-pixel runs and literals of the nibbles (rows of indices 0..15)."""
    out = bytearray()
    for row in rows:
        x = 0
        while x < w:
            n = min(4, w - x)
            if n < 3:
                for i in range(n):
                    out += bytes((1, row[x + i] << 4))
                x += n
                continue
            nib = row[x:x + n] + [0] * (4 - n)
            out += bytes((0, n, nib[0] << 4 | nib[1], nib[2] << 4 | nib[3]))
            x += n
        out += b"\0\0"
    return bytes(out + b"\0\1")


def tga(path, w, h, image_type, bits, descriptor, pixels, colour_map=b"", map_bits=0):
    header = struct.pack("<BBBHHBHHHHBB", 0, 1 if colour_map else 0, image_type, 0,
                         len(colour_map) // max(1, map_bits // 8), map_bits, 0, 0, w, h, bits,
                         descriptor)
    with open(path, "wb") as f:
        f.write(header + colour_map + pixels)


class LzwCodes:
    """A GIF LZW coder that never builds a table: a clear code before the table would grow
    past its first code width. Enough for small test frames."""

    def __init__(self, min_size):
        self.min = min_size
        self.clear = 1 << min_size
        self.end = self.clear + 1
        self.width = min_size + 1

    def encode(self, pixels, stop_after=None):
        acc, n, out = 0, 0, bytearray()

        def put(code):
            nonlocal acc, n
            acc |= code << n
            n += self.width
            while n >= 8:
                out.append(acc & 255)
                acc >>= 8
                n -= 8

        room = (1 << self.width) - self.end - 2
        for i, p in enumerate(pixels):
            if stop_after is not None and i == stop_after:
                break
            if i % room == 0:
                put(self.clear)
            put(p)
        put(self.end)
        if n:
            out.append(acc & 255)
        blocks = bytearray([self.min])
        for i in range(0, len(out), 255):
            chunk = out[i:i + 255]
            blocks += bytes([len(chunk)]) + chunk
        return bytes(blocks + b"\0")


def gif(path, screen, background, global_table, frames):
    """frames: (left, top, w, h, local_table or None, transparent or None, indices, stop)."""
    def table_bits(table):
        bits = 1
        while (1 << bits) < len(table):
            bits += 1
        return bits

    out = bytearray(b"GIF89a" + struct.pack("<HH", *screen))
    if global_table:
        gb = table_bits(global_table)
        out += bytes((0x80 | (gb - 1), background, 0))
        out += b"".join(bytes(c) for c in global_table) + b"\0\0\0" * ((1 << gb) - len(global_table))
    else:
        out += bytes((0, 0, 0))
    for left, top, w, h, local, transparent, indices, stop in frames:
        if transparent is not None:
            out += b"\x21\xf9\x04" + bytes((1, 0, 0, transparent, 0))
        flags, bits = 0, table_bits(global_table or local)
        if local:
            bits = table_bits(local)
            flags = 0x80 | (bits - 1)
        out += b"\x2c" + struct.pack("<HHHH", left, top, w, h) + bytes((flags,))
        if local:
            out += b"".join(bytes(c) for c in local) + b"\0\0\0" * ((1 << bits) - len(local))
        out += LzwCodes(max(2, bits)).encode(indices, stop)
    out += b";"
    with open(path, "wb") as f:
        f.write(out)


# ---- The corpus, format by format ----

def jpeg_files(c):
    # Sizes of whole MCUs (16 x 16 pixels) and of partial ones at the right and bottom edges.
    whole = ((c.w + 15) // 16 * 16, (c.h + 15) // 16 * 16)
    partial = (c.w if c.w % 16 else c.w + 3, c.h if c.h % 16 else c.h + 5)
    for size, label in ((whole, "whole"), (partial, "partial")):
        base = c.path("jpeg-%s-plain.jpg" % label)
        photo(*size).save(base, quality=95)
        decoded = Image.open(base).convert("RGB")
        for o in range(1, 9):
            name = "jpeg-%s-orientation%d.jpg" % (label, o)
            shutil.copy(base, c.path(name))
            c.exif_args += ["-Orientation#=%d" % o, "-overwrite_original", c.path(name),
                            "-execute"]
            ref = decoded.transpose(TRANSPOSE[o]) if o != 1 else decoded
            c.add(name, "JPEG", ref, compare="psnr:40",
                  note="Exif orientation %d, %s MCUs" % (o, label))
    pic = photo(c.w, c.h)
    pic.convert("L").save(c.path("jpeg-grey.jpg"), quality=92)
    c.add("jpeg-grey.jpg", "JPEG", pil_ref(c.path("jpeg-grey.jpg")), compare="psnr:40")
    pic.save(c.path("jpeg-progressive.jpg"), quality=90, progressive=True)
    c.add("jpeg-progressive.jpg", "JPEG", pil_ref(c.path("jpeg-progressive.jpg")),
          compare="psnr:40")
    run("convert", c.path("jpeg-grey.jpg"), "-type", "TrueColor", "-colorspace", "CMYK",
        "-quality", "95", c.path("jpeg-cmyk.jpg"))
    c.add("jpeg-cmyk.jpg", "JPEG", im_ref(c.path("jpeg-cmyk.jpg")), compare="psnr:35",
          note="Adobe CMYK")
    # Resolution only in the Exif block; JFIF gives none (unit 0).
    pic.save(c.path("jpeg-exif-dpi.jpg"), quality=90)
    c.exif_args += ["-XResolution=200", "-YResolution=200", "-ResolutionUnit=inches",
                    "-overwrite_original", c.path("jpeg-exif-dpi.jpg"), "-execute"]
    c.add("jpeg-exif-dpi.jpg", "JPEG", pil_ref(c.path("jpeg-exif-dpi.jpg")), compare="psnr:40",
          dpi=(200, 200), note="Exif resolution, JFIF without one")
    shutil.copy(c.path("jpeg-whole-plain.jpg"), c.path("jpeg-exif-dpi-turned.jpg"))
    c.exif_args += ["-Orientation#=6", "-XResolution=300", "-YResolution=150",
                    "-ResolutionUnit=inches", "-overwrite_original",
                    c.path("jpeg-exif-dpi-turned.jpg"), "-execute"]
    whole = Image.open(c.path("jpeg-whole-plain.jpg")).convert("RGB")
    c.add("jpeg-exif-dpi-turned.jpg", "JPEG", whole.transpose(TRANSPOSE[6]), compare="psnr:40",
          dpi=(150, 300), note="turned a quarter: the resolutions change places too")
    # Damage.
    data = open(c.path("jpeg-progressive.jpg"), "rb").read()
    base = open(c.path("jpeg-whole-plain.jpg"), "rb").read()
    with open(c.path("jpeg-truncated.jpg"), "wb") as f:
        f.write(base[:len(base) * 6 // 10])
    c.add("jpeg-truncated.jpg", "JPEG", None, expect="refused", note="cut at 60 %")
    scan = base.index(b"\xff\xda")
    cut = scan + (len(base) - scan) // 2
    with open(c.path("jpeg-corrupt-segment.jpg"), "wb") as f:
        f.write(base[:cut] + b"\xff\xd3" + base[cut + 2:])
    c.add("jpeg-corrupt-segment.jpg", "JPEG", None, expect="refused",
          note="a marker in the middle of the coded data")
    with open(c.path("jpeg-progressive-truncated.jpg"), "wb") as f:
        f.write(data[:len(data) * 7 // 10])
    c.add("jpeg-progressive-truncated.jpg", "JPEG", None, expect="refused",
          note="progressive, cut at 70 %")
    for name in ("jpeg-truncated.jpg", "jpeg-corrupt-segment.jpg",
                 "jpeg-progressive-truncated.jpg"):
        warned = subprocess.run(["djpeg", "-outfile", "/dev/null", c.path(name)],
                                capture_output=True).stderr
        assert b"Corrupt" in warned or b"Premature" in warned, name
    # Stray bytes between header segments: the picture is whole.
    dqt = base.index(b"\xff\xdb")
    with open(c.path("jpeg-stray-bytes.jpg"), "wb") as f:
        f.write(base[:dqt] + b"\x00\x11\x22\x33" + base[dqt:])
    c.add("jpeg-stray-bytes.jpg", "JPEG", decoded_of(c.path("jpeg-whole-plain.jpg")),
          compare="psnr:40", note="four stray bytes before a header segment")


def decoded_of(path):
    return Image.open(path).convert("RGB")


def tiff_files(c):
    w, h = c.w, c.h
    pic = pattern(w, h)
    pic.save(c.path("pattern.png"))
    src = c.path("pattern.png")
    mask = alpha_mask(w, h)
    rgba = pic.copy()
    rgba.putalpha(mask)
    rgba.save(c.path("pattern-alpha.png"))
    src_alpha = c.path("pattern-alpha.png")

    def im(name, *args, source=src, compare="exact", note=""):
        run("convert", source, *args, c.path(name))
        c.add(name, "TIFF", im_ref(c.path(name)), compare=compare, note=note)

    for comp in ("None", "LZW", "Zip", "RLE"):
        im("tiff-rgb8-%s.tif" % comp.lower(), "-depth", "8", "-compress", comp)
    im("tiff-rgb8-jpeg.tif", "-depth", "8", "-compress", "JPEG", "-quality", "95",
       compare="psnr:40", note="YCbCr JPEG")
    im("tiff-rgb16.tif", "-depth", "16")
    im("tiff-rgb12.tif", "-depth", "12")
    for d in (16, 32, 64):
        im("tiff-rgb-float%d.tif" % d, "-define", "quantum:format=floating-point", "-depth",
           str(d))
    im("tiff-grey-float32.tif", "-colorspace", "gray", "-define",
       "quantum:format=floating-point", "-depth", "32")
    im("tiff-rgb-signed8.tif", "-define", "quantum:format=signed", "-depth", "8")
    im("tiff-rgb-signed16.tif", "-define", "quantum:format=signed", "-depth", "16")
    for d in (2, 4, 8, 16):
        im("tiff-grey%d.tif" % d, "-colorspace", "gray", "-depth", str(d))
    im("tiff-bilevel-none.tif", "-threshold", "50%", "-type", "bilevel", "-compress", "None")
    for comp in ("Group4", "Fax", "LZW"):
        im("tiff-bilevel-%s.tif" % comp.lower(), "-threshold", "50%", "-type", "bilevel",
           "-compress", comp)
    for colours, depth in ((2, 1), (4, 2), (16, 4), (200, 8)):
        im("tiff-palette%d.tif" % depth, "+dither", "-colors", str(colours), "-type", "palette",
           "-depth", str(depth))
    im("tiff-rgb8-planar.tif", "-depth", "8", "-interlace", "plane")
    im("tiff-rgb16-planar-lzw.tif", "-depth", "16", "-interlace", "plane", "-compress", "LZW")
    im("tiff-rgb8-tiled.tif", "-depth", "8", "-define", "tiff:tile-geometry=16x16")
    im("tiff-rgb16-tiled-zip.tif", "-depth", "16", "-define", "tiff:tile-geometry=32x16",
       "-compress", "Zip")
    im("tiff-grey4-tiled.tif", "-colorspace", "gray", "-depth", "4", "-define",
       "tiff:tile-geometry=16x16")
    im("tiff-cmyk8.tif", "-colorspace", "CMYK", "-depth", "8")
    im("tiff-cmyk16.tif", "-colorspace", "CMYK", "-depth", "16", "-compress", "LZW")
    im("tiff-rgba8.tif", "-depth", "8", source=src_alpha, note="unassociated alpha")
    im("tiff-rgba16-planar.tif", "-depth", "16", "-interlace", "plane", source=src_alpha)
    im("tiff-grey-alpha.tif", "-colorspace", "gray", "-depth", "8", source=src_alpha)
    im("tiff-lab8.tif", "-colorspace", "Lab", "-depth", "8", compare="psnr:35",
       note="CIE L*a*b*; ImageMagick reads a* and b* about half a unit off")
    im("tiff-lab16.tif", "-colorspace", "Lab", "-depth", "16", compare="psnr:35",
       note="CIE L*a*b*")
    # libtiff's own tools: other strip layouts, tiles, predictors and planes.
    base = c.path("tiff-rgb8-none.tif")
    for name, args in (("tiff-tiffcp-lzw-predictor.tif", ["-c", "lzw:2"]),
                       ("tiff-tiffcp-zip-rows1.tif", ["-c", "zip", "-r", "1"]),
                       ("tiff-tiffcp-tiles-separate.tif", ["-t", "-w", "16", "-l", "32", "-p",
                                                           "separate"]),
                       ("tiff-tiffcp-jpeg-ycbcr.tif", ["-c", "jpeg:r:90"])):
        run("tiffcp", *args, base, c.path(name))
        c.add(name, "TIFF", im_ref(c.path(name)),
              compare="psnr:35" if "jpeg" in name else "exact")
    # Layouts libtiff's RGBA interface reads: uncompressed YCbCr (written by Pillow) and LogLuv.
    pic.convert("YCbCr").save(c.path("tiff-ycbcr.tif"))
    c.add("tiff-ycbcr.tif", "TIFF", im_ref(c.path("tiff-ycbcr.tif")), compare="close",
          note="YCbCr without JPEG compression")
    run("tiffcp", "-c", "sgilog", c.path("tiff-rgb-float32.tif"), c.path("tiff-logluv.tif"))
    c.add("tiff-logluv.tif", "TIFF", im_ref(c.path("tiff-logluv.tif")), compare="close",
          note="LogLuv")
    run("tiffcp", "-c", "lzw:3", c.path("tiff-rgb-float32.tif"),
        c.path("tiff-tiffcp-float-predictor.tif"))
    c.add("tiff-tiffcp-float-predictor.tif", "TIFF",
          im_ref(c.path("tiff-tiffcp-float-predictor.tif")))

    # Written here: layouts no tool writes.
    grey = pic.convert("L")
    gp = list(grey.getdata())
    rows = [bytes(gp[y * w:(y + 1) * w]) for y in range(h)]
    tiff(c.path("tiff-grey8-miniswhite.tif"), w, h, 8, 1, 0,
         [bytes(255 - v for v in r) for r in rows])
    c.add("tiff-grey8-miniswhite.tif", "TIFF", im_ref(c.path("tiff-grey8-miniswhite.tif")))
    tiff(c.path("tiff-grey4-miniswhite.tif"), w, h, 4, 1, 0,
         [pack_bits([15 - (v >> 4) for v in r], 4) for r in rows])
    # ImageMagick takes 4-bit min-is-white as min-is-black: the reference is the picture.
    c.add("tiff-grey4-miniswhite.tif", "TIFF", grey.point(lambda v: (v >> 4) * 17).convert("RGB"))
    tiff(c.path("tiff-grey-uint32.tif"), w, h, 32, 1, 1,
         [b"".join(struct.pack("<I", v * 0x01010101) for v in r) for r in rows])
    c.add("tiff-grey-uint32.tif", "TIFF", im_ref(c.path("tiff-grey-uint32.tif")))
    # A 16-bit colour table: 65536 entries, the picture's colours spread over it.
    quant = pic.quantize(colors=64, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    pal = quant.getpalette()[:64 * 3]
    cmap = [0] * (3 * 65536)
    for i in range(64):
        for ch in range(3):
            cmap[ch * 65536 + i * 1000] = pal[3 * i + ch] * 257
    qp = list(quant.getdata())
    tiff(c.path("tiff-palette16.tif"), w, h, 16, 1, 3,
         [b"".join(struct.pack("<H", v * 1000) for v in qp[y * w:(y + 1) * w])
          for y in range(h)], colormap=cmap)
    c.add("tiff-palette16.tif", "TIFF", quant.convert("RGB"), note="16-bit colour table")
    # Associated (premultiplied) alpha.
    rp, ap = list(pic.getdata()), list(mask.getdata())
    premultiplied = [bytes(v for (r, g, b), a in zip(rp[y * w:(y + 1) * w], ap[y * w:(y + 1) * w])
                           for v in ((r * a + 127) // 255, (g * a + 127) // 255,
                                     (b * a + 127) // 255, a)) for y in range(h)]
    tiff(c.path("tiff-rgba-associated.tif"), w, h, 8, 4, 2, premultiplied, extra=[1])
    c.add("tiff-rgba-associated.tif", "TIFF", im_ref(c.path("tiff-rgba-associated.tif")),
          compare="close", note="premultiplied alpha")
    # 24-bit floating point (sign, 7 bits of exponent, 16 of mantissa).
    def float24(v):
        if v == 0:
            return 0
        m, e = math.frexp(v)  # v = m * 2**e, 0.5 <= m < 1
        return ((e - 1 + 63) << 16) | int(round((m * 2 - 1) * 65536)) & 0xFFFF
    tiff(c.path("tiff-grey-float24.tif"), w, h, 24, 1, 1,
         [b"".join(struct.pack("<I", float24(v / 255))[:3] for v in r) for r in rows],
         sample_format=3)
    c.add("tiff-grey-float24.tif", "TIFF", grey.convert("RGB"), compare="close",
          note="24-bit floating point")
    # Complex samples are no picture: refused with the reason.
    tiff(c.path("tiff-complex.tif"), w, h, 64, 1, 1,
         [bytes(8 * w) for _ in range(h)], sample_format=6)
    c.add("tiff-complex.tif", "TIFF", None, expect="refused", note="complex-valued samples")

    # Orientation: the same rows, with the tag saying how to show them.
    plain = c.path("tiff-rgb8-lzw.tif")
    shown = Image.open(plain).convert("RGB")
    for o in range(1, 9):
        name = "tiff-orientation%d.tif" % o
        shutil.copy(plain, c.path(name))
        run("tiffset", "-s", "274", str(o), c.path(name))
        ref = shown.transpose(TRANSPOSE[o]) if o != 1 else shown
        c.add(name, "TIFF", ref, note="Orientation %d" % o)
    for o, src_name in ((6, "tiff-bilevel-group4.tif"), (3, "tiff-palette8.tif"),
                        (8, "tiff-grey-float32.tif"), (5, "tiff-rgb8-jpeg.tif"),
                        (7, "tiff-ycbcr.tif"), (2, "tiff-rgb16-tiled-zip.tif")):
        name = "tiff-orientation%d-%s" % (o, src_name[5:])
        shutil.copy(c.path(src_name), c.path(name))
        run("tiffset", "-s", "274", str(o), c.path(name))
        # libtiff's RGBA interface (which the other programs read JPEG TIFFs with) applies
        # the flips itself: the reference is the untagged file's decode, turned once.
        ref = im_ref(c.path(src_name)).transpose(TRANSPOSE[o])
        c.add(name, "TIFF", ref,
              compare="psnr:40" if "jpeg" in name else "close" if "ycbcr" in name else "exact",
              note="Orientation %d" % o)
    # A camera's file: turned, its resolutions differing.
    run("convert", src, "-depth", "8", "-density", "300x150", "-units", "PixelsPerInch",
        c.path("tiff-camera.tif"))
    run("tiffset", "-s", "274", "6", c.path("tiff-camera.tif"))
    run("tiffset", "-s", "271", "Camera maker", c.path("tiff-camera.tif"))
    c.add("tiff-camera.tif", "TIFF", shown.transpose(TRANSPOSE[6]), dpi=(150, 300),
          note="turned a quarter: the resolutions change places too")


def png_files(c):
    w, h = c.w, c.h
    pic = pattern(w, h)
    quant = pic.quantize(colors=16, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    quant.save(c.path("png-palette-trns.png"), transparency=bytes([0, 128, 255, 40] + [255] * 12))
    c.add("png-palette-trns.png", "PNG", pil_ref(c.path("png-palette-trns.png")),
          compare="close", note="tRNS on palette entries")
    grey = pic.convert("L")
    key = grey.getpixel((10, 10))
    grey.save(c.path("png-grey-trns.png"), transparency=key)
    c.add("png-grey-trns.png", "PNG", pil_ref(c.path("png-grey-trns.png")),
          note="one transparent grey level")
    key = pic.getpixel((7, 5))
    pic.save(c.path("png-rgb-trns.png"), transparency=key)
    c.add("png-rgb-trns.png", "PNG", pil_ref(c.path("png-rgb-trns.png")),
          note="one transparent colour")
    rgba = pic.copy()
    rgba.putalpha(alpha_mask(w, h))
    rgba.save(c.path("png-rgba.png"))
    c.add("png-rgba.png", "PNG", pil_ref(c.path("png-rgba.png")), compare="close")
    la = grey.copy()
    la.putalpha(alpha_mask(w, h))
    la.save(c.path("png-grey-alpha.png"))
    c.add("png-grey-alpha.png", "PNG", pil_ref(c.path("png-grey-alpha.png")), compare="close")
    run("convert", c.path("png-rgba.png"), "-depth", "16", "-interlace", "PNG",
        c.path("png-rgba16-interlaced.png"))
    c.add("png-rgba16-interlaced.png", "PNG", im_ref(c.path("png-rgba16-interlaced.png")),
          compare="close")
    run("convert", c.path("png-grey-alpha.png"), "-interlace", "PNG",
        c.path("png-grey-alpha-interlaced.png"))
    c.add("png-grey-alpha-interlaced.png", "PNG", im_ref(c.path("png-grey-alpha-interlaced.png")),
          compare="close", note="interlaced, with the gamma ImageMagick records")
    bw = pic.convert("1", dither=Image.Dither.NONE)
    bw.save(c.path("png-bilevel.png"), dpi=(300, 300))
    c.add("png-bilevel.png", "PNG", pil_ref(c.path("png-bilevel.png")), dpi=(300, 300))


def gif_files(c):
    w, h = c.w, c.h
    pic = pattern(w, h)
    run("convert", c.path("png-rgba.png"), "-background", "none", "-colors", "64", "-page",
        "%dx%d+9+5" % (w + 20, h + 12), c.path("gif-offset-transparent.gif"))
    c.add("gif-offset-transparent.gif", "GIF", gif_ref(c.path("gif-offset-transparent.gif")),
          note="frame on a larger screen, transparent colour")
    quant = pic.quantize(colors=32, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    table = [tuple(quant.getpalette()[3 * i:3 * i + 3]) for i in range(32)]
    idx = list(quant.getdata())
    gif(c.path("gif-offset-background.gif"), (w + 16, h + 10), 3, table,
        [(4, 6, w, h, None, None, idx, None)])
    c.add("gif-offset-background.gif", "GIF", gif_ref(c.path("gif-offset-background.gif")),
          note="frame on a larger screen of the background colour")
    # A local table without the background colour, full: the page needs 24 bits.
    local = table + [(i, 255 - i, 3 * i % 256) for i in range(224)]
    gif(c.path("gif-local-table.gif"), (w + 6, h + 6), 1, [(250, 250, 10), (1, 2, 3)],
        [(3, 3, w, h, local, None, idx, None)])
    c.add("gif-local-table.gif", "GIF", gif_ref(c.path("gif-local-table.gif")),
          note="full local table; the screen's background colour is not in it")
    run("convert", c.path("gif-offset-background.gif"), "-interlace", "GIF",
        c.path("gif-interlaced.gif"))
    c.add("gif-interlaced.gif", "GIF", gif_ref(c.path("gif-interlaced.gif")))
    # Broken frames: the data stops early. ImageMagick refuses them; Pillow shows what decodes.
    gif(c.path("gif-broken-frame.gif"), (w, h), 0, table,
        [(0, 0, w, h, None, None, idx, w * h // 2 + 7)])
    ImageFile.LOAD_TRUNCATED_IMAGES = True
    try:
        c.add("gif-broken-frame.gif", "GIF", pil_ref(c.path("gif-broken-frame.gif")),
              note="the frame's data ends after half its pixels")
    finally:
        ImageFile.LOAD_TRUNCATED_IMAGES = False
    bw = pic.convert("1", dither=Image.Dither.NONE)
    bw.save(c.path("gif-bilevel.gif"))
    c.add("gif-bilevel.gif", "GIF", pil_ref(c.path("gif-bilevel.gif")))


def bmp_files(c):
    w, h = c.w, c.h
    pic = pattern(w, h)
    src = c.path("pattern.png")
    for name, args in (("bmp-rgb24.bmp", ["BMP3:"]),
                       ("bmp-palette8.bmp", ["-colors", "200", "-compress", "None", "BMP3:"]),
                       ("bmp-rle8.bmp", ["-colors", "200", "-compress", "RLE", "BMP3:"]),
                       ("bmp-palette4.bmp", ["+dither", "-colors", "16", "-depth", "4",
                                             "-compress", "None", "BMP3:"]),
                       ("bmp-bilevel.bmp", ["-threshold", "50%", "-type", "bilevel", "BMP3:"]),
                       ("bmp-os2v1.bmp", ["-colors", "100", "BMP2:"]),
                       ("bmp-rgb565.bmp", ["-define", "bmp:subtype=RGB565", "BMP:"])):
        run("convert", src, *args[:-1], args[-1] + c.path(name))
        # Pillow widens 5- and 6-bit channels by repeating bits, not by rounding.
        c.add(name, "BMP", pil_ref(c.path(name)), compare="close" if "565" in name else "exact")
    run("convert", c.path("png-rgba.png"), "BMP:" + c.path("bmp-argb32.bmp"))
    c.add("bmp-argb32.bmp", "BMP", pil_ref(c.path("bmp-argb32.bmp")), compare="close",
          note="alpha in bit fields")
    # 16-bit pixels with alpha in bit fields (ImageMagick reads one bit of alpha as half
    # covered, Pillow none of them): the reference is the picture written.
    mask = alpha_mask(w, h)
    for name, masks in (("bmp-argb1555.bmp", (0x7C00, 0x03E0, 0x001F, 0x8000)),
                        ("bmp-argb4444.bmp", (0x0F00, 0x00F0, 0x000F, 0xF000))):
        rows, ref = [], Image.new("RGB", (w, h))
        for y in range(h):
            row = b""
            for x in range(w):
                value, shown = 0, []
                for channel, m in zip(pic.getpixel((x, y)) + (mask.getpixel((x, y)),), masks):
                    shift = (m & -m).bit_length() - 1
                    top = m >> shift
                    v = channel * top // 255
                    value |= v << shift
                    shown.append((v * 255 + top // 2) // top)
                row += struct.pack("<H", value)
                r, g, b, a = shown
                ref.putpixel((x, y), tuple((v * a + 255 * (255 - a) + 127) // 255
                                           for v in (r, g, b)))
            rows.append(row)
        header = struct.pack("<IiiHHIIiiII", 56, w, h, 1, 16, 3, 0, 2835, 2835, 0, 0) + \
            struct.pack("<IIII", *masks)
        bmp(c.path(name), w, h, 16, rows[::-1], header_size=56, compression=3)
        data = bytearray(open(c.path(name), "rb").read())
        data[14:14 + 56] = header
        with open(c.path(name), "wb") as f:
            f.write(data)
        c.add(name, "BMP", ref, note="alpha in 16-bit bit fields")
    # Written here.
    quant = pic.quantize(colors=4, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    pal = [tuple(quant.getpalette()[3 * i:3 * i + 3]) for i in range(4)]
    idx = list(quant.getdata())
    rows = [idx[y * w:(y + 1) * w] for y in range(h)][::-1]
    bmp(c.path("bmp-palette2.bmp"), w, h, 2, [pack_bits(r, 2) for r in rows], pal)
    c.add("bmp-palette2.bmp", "BMP", quant.convert("RGB"), note="2 bits a pixel")
    q16 = pic.quantize(colors=16, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    pal16 = [tuple(q16.getpalette()[3 * i:3 * i + 3]) for i in range(16)]
    i16 = list(q16.getdata())
    rows16 = [i16[y * w:(y + 1) * w] for y in range(h)][::-1]
    bmp(c.path("bmp-rle4.bmp"), w, h, 4, None, pal16, compression=2, data=rle4(rows16, w))
    c.add("bmp-rle4.bmp", "BMP", pil_ref(c.path("bmp-rle4.bmp")))
    q200 = pic.quantize(colors=200, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    pal200 = [tuple(q200.getpalette()[3 * i:3 * i + 3]) for i in range(200)]
    i200 = list(q200.getdata())
    rows200 = [i200[y * w:(y + 1) * w] for y in range(h)][::-1]
    for size in (64, 16):
        name = "bmp-os2v2-%d.bmp" % size
        bmp(c.path(name), w, h, 8, [bytes(r) for r in rows200], pal200, header_size=size)
        c.add(name, "BMP", q200.convert("RGB"), note="OS/2 2.x header of %d bytes" % size)
    bmp(c.path("bmp-topdown.bmp"), w, h, 8, [bytes(r) for r in rows200[::-1]], pal200,
        top_down=True)
    c.add("bmp-topdown.bmp", "BMP", pil_ref(c.path("bmp-topdown.bmp")))
    # Damage: a colour table that runs into the pixels, runs past the row and the image.
    bmp(c.path("bmp-palette-overflow.bmp"), w, h, 8, [bytes(r) for r in rows200], pal200,
        colours_used=4000)
    c.add("bmp-palette-overflow.bmp", "BMP", None, expect="refused",
          note="the colour table claims 4000 entries")
    coded = bytearray(rle8([list(r) for r in rows200], w))
    bmp(c.path("bmp-rle-overflow.bmp"), w, h, 8, None, pal200, compression=1,
        data=bytes((250, 7)) + bytes(coded))
    c.add("bmp-rle-overflow.bmp", "BMP", None, expect="refused", note="a run of 250 in a row of "
          "%d" % w)
    bmp(c.path("bmp-rle-delta-overflow.bmp"), w, h, 8, None, pal200, compression=1,
        data=bytes((0, 2, 3, 200)) + bytes(coded))
    c.add("bmp-rle-delta-overflow.bmp", "BMP", None, expect="refused",
          note="a move 200 rows up")


def tga_files(c):
    w, h = c.w, c.h
    src = c.path("pattern.png")
    for name, args in (("tga-rgb24.tga", []), ("tga-rgb24-rle.tga", ["-compress", "RLE"]),
                       ("tga-grey.tga", ["-colorspace", "gray", "-type", "grayscale"]),
                       ("tga-colourmapped.tga", ["+dither", "-colors", "100", "-type",
                                                 "palette"])):
        run("convert", src, *args, c.path(name))
        c.add(name, "TGA", pil_ref(c.path(name)))
    # ImageMagick writes its rows top down but marks them bottom up (and reads them back the
    # same way); Pillow and netpbm read the mark, as the program does.
    run("convert", c.path("png-rgba.png"), c.path("tga-rgba32.tga"))
    c.add("tga-rgba32.tga", "TGA", pil_ref(c.path("tga-rgba32.tga")), compare="close",
          note="eight attribute bits of alpha")
    run("convert", c.path("png-rgba.png"), "-compress", "RLE", c.path("tga-rgba32-rle.tga"))
    c.add("tga-rgba32-rle.tga", "TGA", pil_ref(c.path("tga-rgba32-rle.tga")), compare="close")
    Image.open(c.path("png-grey-alpha.png")).save(c.path("tga-grey-alpha.tga"))
    c.add("tga-grey-alpha.tga", "TGA", pil_ref(c.path("tga-grey-alpha.tga")), compare="close",
          note="grey with alpha (LA)")
    # 16 bits, one attribute bit of alpha, stored right to left and top down.
    pic = pattern(w, h)
    mask = alpha_mask(w, h)
    px, ap = list(pic.getdata()), list(mask.getdata())
    data = bytearray()
    ref = Image.new("RGB", (w, h))
    for y in range(h):
        for x in reversed(range(w)):
            r, g, b = px[y * w + x]
            a = ap[y * w + x] >= 128
            data += struct.pack("<H", (a << 15) | (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3))
            expand = lambda v: (v >> 3) << 3 | (v >> 5)
            ref.putpixel((x, y), (expand(r), expand(g), expand(b)) if a else (255, 255, 255))
    tga(c.path("tga-rgb16-alpha-bit.tga"), w, h, 2, 16, 0x31, bytes(data))
    c.add("tga-rgb16-alpha-bit.tga", "TGA", ref, note="1 alpha bit, right-to-left, top-down")


def pcx_files(c):
    w, h = c.w, c.h
    pic = pattern(w, h)
    for colours, variants in ((2, ("",)), (4, ("", "-packed")), (8, ("",)),
                              (16, ("", "-packed"))):
        quant = pic.quantize(colors=colours, method=Image.Quantize.MEDIANCUT,
                             dither=Image.Dither.NONE).convert("RGB")
        quant.save(c.path("q%d.ppm" % colours))
        for variant in variants:
            name = "pcx-%dcolours%s.pcx" % (colours, variant or "-planes")
            with open(c.path(name), "wb") as f:
                args = ["ppmtopcx"] + ([variant] if variant else []) + [c.path("q%d.ppm" % colours)]
                f.write(run(*args))
            c.add(name, "PCX", netpbm_ref("pcxtoppm", c.path(name)),
                  note="%d colours from the header's table" % colours)
    # A header table left black: the standard EGA colours.
    data = bytearray(open(c.path("pcx-16colours-packed.pcx"), "rb").read())
    data[16:64] = bytes(48)
    with open(c.path("pcx-standard-colours.pcx"), "wb") as f:
        f.write(data)
    c.add("pcx-standard-colours.pcx", "PCX", netpbm_ref("pcxtoppm",
                                                        c.path("pcx-standard-colours.pcx")),
          note="empty header table: the standard EGA colours")
    with open(c.path("pcx-256colours.pcx"), "wb") as f:
        f.write(run("ppmtopcx", "-8bit", c.path("q16.ppm")))
    c.add("pcx-256colours.pcx", "PCX", pil_ref(c.path("pcx-256colours.pcx")))
    run("convert", c.path("pattern.png"), c.path("pcx-rgb24.pcx"))
    c.add("pcx-rgb24.pcx", "PCX", pil_ref(c.path("pcx-rgb24.pcx")))
    run("convert", c.path("png-rgba.png"), c.path("pcx-rgba.pcx"))
    c.add("pcx-rgba.pcx", "PCX", im_ref(c.path("pcx-rgba.pcx")), compare="close",
          note="a fourth plane of alpha")


def main():
    args = sys.argv[1:]
    out = args[0]
    width = int(args[args.index("--width") + 1]) if "--width" in args else 61
    height = int(args[args.index("--height") + 1]) if "--height" in args else 37
    c = Corpus(out, width, height)
    jpeg_files(c)
    tiff_files(c)
    png_files(c)
    gif_files(c)
    bmp_files(c)
    tga_files(c)
    pcx_files(c)
    if c.exif_args:
        run("exiftool", "-q", "-@", "-", input="\n".join(c.exif_args[:-1]).encode())
    c.finish()


if __name__ == "__main__":
    main()
