#!/usr/bin/python3
"""A network scanner that speaks eSCL (AirScan), for the scan tests. Standard library only.

It listens on 127.0.0.1 on a free port and writes that port into --port-file once it accepts
connections. It has a glass (platen) and a document feeder with simplex and duplex, colour
modes RGB24, Grayscale8 and BlackAndWhite1, resolutions 75 to 600 dpi and a scan area of
8.5 x 11.69 inches. Every page is drawn at the size the job asks for and sent as JPEG or PNG,
whichever the client asked for.

What the tests can read (--record FILE, one line per event, flushed at once):
  job N source=Platen|Feeder duplex=true|false|- mode=M xres=X yres=Y x=.. y=.. width=..
      height=.. format=F brightness=B|- brightness-support=B|-
                               (the region in 1/300 inch, as it arrived)
  refused N reason             (a job the scanner would not start)
  page N SHEET front|back      (a page sent for job N)
  delete N STATE pages=K       (the client deleted job N, which was in STATE after K pages)
  vanished                     (the scanner went away)

What the tests can set: --sheets (sheets in the feeder), --jam-after K (the feeder jams after
K pages of a job), --vanish-after K (the scanner goes away, closing every connection, when the
page after the K-th is asked for), --page-delay SECONDS (before each page), --no-platen (a
sheet-fed scanner without glass), --formats (the document formats offered).

Each page carries marks a test can read back (8-pixel blocks, so that JPEG keeps them exact):
a black border one block wide; a patch at blocks (4..7, 4..7) whose grey level is
250 - 10 * page number (1-based within the job); for the back of a duplex sheet a second patch
at blocks (12..15, 4..7) of the same level; a mid-grey patch at blocks (4..7, 12..15) whose level
follows the job's brightness (128 at the scanner's normal brightness, +-1 per 16 units); and red,
green and blue patches at blocks (12..15, 12..15), (20..23, 12..15) and (28..31, 12..15).
"""
import argparse
import http.server
import os
import re
import socket
import struct
import sys
import threading
import time
import uuid
import zlib

NS_SCAN = "http://schemas.hp.com/imaging/escl/2011/05/03"
NS_PWG = "http://www.pwg.org/schemas/2010/12/sm"
MAX_WIDTH = 2550  # 1/300 inch: 8.5 inches
MAX_HEIGHT = 3508  # 11.69 inches, A4's height
RESOLUTIONS = (75, 100, 150, 200, 300, 600)
BRIGHTNESS_MIN, BRIGHTNESS_MAX, BRIGHTNESS_NORMAL = 0, 2000, 1000


def parse_args():
    p = argparse.ArgumentParser()
    p.add_argument("--port-file", required=True)
    p.add_argument("--record", required=True)
    p.add_argument("--model", default="Vellumo Test Scanner")
    p.add_argument("--sheets", type=int, default=3)
    p.add_argument("--jam-after", type=int, default=-1)
    p.add_argument("--vanish-after", type=int, default=-1)
    p.add_argument("--page-delay", type=float, default=0.0)
    p.add_argument("--no-platen", action="store_true")
    p.add_argument("--formats", default="image/jpeg,image/png",
                   help="the document formats offered, comma-separated")
    return p.parse_args()


ARGS = parse_args()
LOCK = threading.Lock()


def record(line):
    with LOCK:
        with open(ARGS.record, "a") as f:
            f.write(line + "\n")


# ---- pages -------------------------------------------------------------------------------------

def page_blocks(width, height, page, back, brightness):
    """The page as rows of 8x8 blocks, each an (r, g, b) colour."""
    bw, bh = (width + 7) // 8, (height + 7) // 8
    white, black = (255, 255, 255), (0, 0, 0)
    rows = []
    for by in range(bh):
        row = [white] * bw
        if by == 0 or by == bh - 1:
            row = [black] * bw
        else:
            row[0] = row[-1] = black
        rows.append(row)

    def patch(bx, by, colour):
        for y in range(by, min(by + 4, bh - 1)):
            for x in range(bx, min(bx + 4, bw - 1)):
                rows[y][x] = colour

    level = max(0, 250 - 10 * page)
    patch(4, 4, (level,) * 3)
    if back:
        patch(12, 4, (level,) * 3)
    grey = 128 + (brightness - BRIGHTNESS_NORMAL) // 16
    grey = max(0, min(255, grey))
    patch(4, 12, (grey,) * 3)
    patch(12, 12, (255, 0, 0))
    patch(20, 12, (0, 255, 0))
    patch(28, 12, (0, 0, 255))
    return rows


def luminance(c):
    return (c[0] * 299 + c[1] * 587 + c[2] * 114 + 500) // 1000


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def encode_png(rows, width, height, mode):
    depth, colour = {"BlackAndWhite1": (1, 0), "Grayscale8": (8, 0)}.get(mode, (8, 2))
    line_bytes = (width * depth * (3 if colour == 2 else 1) + 7) // 8
    # A block's other rows repeat its first: filter "Up" makes them zeros, which deflate packs
    # at once.
    repeat = b"\2" + bytes(line_bytes)
    chunks = []
    lines = {}  # most block rows repeat: each distinct one is packed once
    for by, row in enumerate(rows):
        key = tuple(row)
        line = lines.get(key)
        if line is None:
            if mode == "BlackAndWhite1":
                line = bytes(0xFF if luminance(c) >= 128 else 0 for c in row)
            elif mode == "Grayscale8":
                line = b"".join(bytes([luminance(c)]) * 8 for c in row)
            else:
                line = b"".join(bytes(c) * 8 for c in row)
            line = lines[key] = b"\0" + line[:line_bytes]
        chunks.append(line)
        chunks.append(repeat * (min(8, height - by * 8) - 1))
    header = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
            png_chunk(b"IDAT", zlib.compress(b"".join(chunks), 1)) + png_chunk(b"IEND", b""))


# Baseline JPEG of 8x8 blocks of one colour each: every block is its DC coefficient alone, so
# the encoder needs no DCT. Quantiser 2 for DC keeps levels within 1 of what was drawn.
DC_LUMA = ([0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0], list(range(12)))
DC_CHROMA = ([0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0], list(range(12)))
AC_EOB_ONLY = ([1] + [0] * 15, [0x00])  # one code, "0", for end of block
DC_QUANT = 2


def huffman_codes(table):
    bits, values = table
    codes, code, k = {}, 0, 0
    for length in range(1, 17):
        for _ in range(bits[length - 1]):
            codes[values[k]] = format(code, "0%db" % length)
            code += 1
            k += 1
        code <<= 1
    return codes


def dht(table_class, table_id, table):
    bits, values = table
    data = bytes([table_class << 4 | table_id]) + bytes(bits) + bytes(values)
    return b"\xff\xc4" + struct.pack(">H", len(data) + 2) + data


class DcCoder:
    def __init__(self, table):
        self.codes = huffman_codes(table)
        self.cache = {}

    def block(self, diff):
        """The bits of one block: its DC difference, then end of block."""
        bits = self.cache.get(diff)
        if bits is None:
            magnitude = abs(diff)
            size = magnitude.bit_length()
            extra = ""
            if size:
                value = diff if diff > 0 else diff + (1 << size) - 1
                extra = format(value, "0%db" % size)
            bits = self.codes[size] + extra + "0"
            self.cache[diff] = bits
        return bits


def encode_jpeg(rows, width, height, mode):
    colour = mode == "RGB24"
    comps = 3 if colour else 1

    def planes(c):
        if not colour:
            return (luminance(c),)
        r, g, b = c
        y = 0.299 * r + 0.587 * g + 0.114 * b
        cb = 128 - 0.168736 * r - 0.331264 * g + 0.5 * b
        cr = 128 + 0.5 * r - 0.418688 * g - 0.081312 * b
        return (y, cb, cr)

    coders = [DcCoder(DC_LUMA)] + [DcCoder(DC_CHROMA)] * (comps - 1)
    previous = [0] * comps
    out = []
    cache = {}
    for row in rows:
        for c in row:
            q = cache.get(c)
            if q is None:
                q = tuple(int(round((v - 128) * 8 / DC_QUANT)) for v in planes(c))
                cache[c] = q
            for i in range(comps):
                out.append(coders[i].block(q[i] - previous[i]))
                previous[i] = q[i]
    bits = "".join(out)
    bits += "1" * (-len(bits) % 8)
    scan = int(bits, 2).to_bytes(len(bits) // 8, "big") if bits else b""
    scan = scan.replace(b"\xff", b"\xff\x00")

    quant = bytes([DC_QUANT] + [255] * 63)
    dqt = b"\x00" + quant + (b"\x01" + quant if colour else b"")
    head = b"\xff\xd8"
    head += b"\xff\xe0" + struct.pack(">H5sBBBHHBB", 16, b"JFIF\0", 1, 1, 0, 1, 1, 0, 0)
    head += b"\xff\xdb" + struct.pack(">H", 2 + len(dqt)) + dqt
    sof = struct.pack(">BHHB", 8, height, width, comps)
    for i in range(comps):
        sof += bytes([i + 1, 0x11, 0 if i == 0 else 1])
    head += b"\xff\xc0" + struct.pack(">H", len(sof) + 2) + sof
    head += dht(0, 0, DC_LUMA) + dht(1, 0, AC_EOB_ONLY)
    if colour:
        head += dht(0, 1, DC_CHROMA) + dht(1, 1, AC_EOB_ONLY)
    sos = bytes([comps])
    for i in range(comps):
        sos += bytes([i + 1, 0x00 if i == 0 else 0x11])
    sos += bytes([0, 63, 0])
    head += b"\xff\xda" + struct.pack(">H", len(sos) + 2) + sos
    return head + scan + b"\xff\xd9"


# ---- scanner state -----------------------------------------------------------------------------

class Job:
    def __init__(self, number, settings):
        self.number = number
        self.uuid = str(uuid.uuid4())
        self.settings = settings
        self.pages_sent = 0
        self.state = "Processing"
        self.pending_back = None  # sheet whose back is still to be sent

    @property
    def uri(self):
        return "/eSCL/ScanJobs/" + self.uuid


class Scanner:
    def __init__(self):
        self.sheets = ARGS.sheets
        self.jobs = {}
        self.job_count = 0
        self.pages_total = 0
        self.jammed = False
        self.sheet_number = 0

    def adf_state(self):
        if self.jammed:
            return "ScannerAdfJam"
        return "ScannerAdfLoaded" if self.sheets > 0 else "ScannerAdfEmpty"


SCANNER = Scanner()


def tag(xml, name):
    m = re.search(r"<(?:\w+:)?%s>\s*([^<]*?)\s*</(?:\w+:)?%s>" % (name, name), xml)
    return m.group(1) if m else None


def capabilities_xml():
    offered = ARGS.formats.split(",")
    formats = "".join("<pwg:DocumentFormat>%s</pwg:DocumentFormat>" % f for f in offered)
    formats += "".join("<scan:DocumentFormatExt>%s</scan:DocumentFormatExt>" % f for f in offered)
    resolutions = "".join(
        "<scan:DiscreteResolution><scan:XResolution>%d</scan:XResolution>"
        "<scan:YResolution>%d</scan:YResolution></scan:DiscreteResolution>" % (r, r)
        for r in RESOLUTIONS)
    caps = (
        "<scan:MinWidth>16</scan:MinWidth><scan:MaxWidth>%d</scan:MaxWidth>"
        "<scan:MinHeight>16</scan:MinHeight><scan:MaxHeight>%d</scan:MaxHeight>"
        "<scan:MaxScanRegions>1</scan:MaxScanRegions>"
        "<scan:SettingProfiles><scan:SettingProfile>"
        "<scan:ColorModes><scan:ColorMode>BlackAndWhite1</scan:ColorMode>"
        "<scan:ColorMode>Grayscale8</scan:ColorMode><scan:ColorMode>RGB24</scan:ColorMode>"
        "</scan:ColorModes>"
        "<scan:ContentTypes><pwg:ContentType>Text</pwg:ContentType>"
        "<pwg:ContentType>Photo</pwg:ContentType></scan:ContentTypes>"
        "<scan:DocumentFormats>%s</scan:DocumentFormats>"
        "<scan:SupportedResolutions><scan:DiscreteResolutions>%s</scan:DiscreteResolutions>"
        "</scan:SupportedResolutions>"
        "<scan:ColorSpaces><scan:ColorSpace>sRGB</scan:ColorSpace></scan:ColorSpaces>"
        "</scan:SettingProfile></scan:SettingProfiles>"
        "<scan:SupportedIntents><scan:Intent>Document</scan:Intent>"
        "<scan:Intent>Photo</scan:Intent></scan:SupportedIntents>"
        "<scan:MaxOpticalXResolution>600</scan:MaxOpticalXResolution>"
        "<scan:MaxOpticalYResolution>600</scan:MaxOpticalYResolution>"
        % (MAX_WIDTH, MAX_HEIGHT, formats, resolutions))
    platen = "" if ARGS.no_platen else (
        "<scan:Platen><scan:PlatenInputCaps>%s</scan:PlatenInputCaps></scan:Platen>" % caps)
    adf = ("<scan:Adf><scan:AdfSimplexInputCaps>%s</scan:AdfSimplexInputCaps>"
           "<scan:AdfDuplexInputCaps>%s</scan:AdfDuplexInputCaps>"
           "<scan:FeederCapacity>50</scan:FeederCapacity>"
           "<scan:AdfOptions><scan:AdfOption>DetectPaperLoaded</scan:AdfOption>"
           "<scan:AdfOption>Duplex</scan:AdfOption></scan:AdfOptions></scan:Adf>" % (caps, caps))
    return (
        '<?xml version="1.0" encoding="UTF-8"?>'
        '<scan:ScannerCapabilities xmlns:scan="%s" xmlns:pwg="%s">'
        "<pwg:Version>2.63</pwg:Version><pwg:MakeAndModel>%s</pwg:MakeAndModel>"
        "<pwg:SerialNumber>VT-0001</pwg:SerialNumber>"
        "<scan:UUID>4509a320-00a0-008f-00b6-002507510eca</scan:UUID>"
        "%s%s"
        "<scan:BrightnessSupport><scan:Min>%d</scan:Min><scan:Max>%d</scan:Max>"
        "<scan:Normal>%d</scan:Normal><scan:Step>1</scan:Step></scan:BrightnessSupport>"
        "</scan:ScannerCapabilities>"
        % (NS_SCAN, NS_PWG, ARGS.model, platen, adf, BRIGHTNESS_MIN, BRIGHTNESS_MAX,
           BRIGHTNESS_NORMAL))


def status_xml():
    jobs = ""
    for job in SCANNER.jobs.values():
        jobs += (
            "<scan:JobInfo><pwg:JobUri>%s</pwg:JobUri><pwg:JobUuid>%s</pwg:JobUuid>"
            "<scan:Age>1</scan:Age><pwg:ImagesCompleted>%d</pwg:ImagesCompleted>"
            "<pwg:ImagesToTransfer>%d</pwg:ImagesToTransfer><pwg:JobState>%s</pwg:JobState>"
            "<pwg:JobStateReasons><pwg:JobStateReason>%s</pwg:JobStateReason>"
            "</pwg:JobStateReasons></scan:JobInfo>"
            % (job.uri, job.uuid, job.pages_sent, 1 if job.state == "Processing" else 0,
               job.state, "JobScanning" if job.state == "Processing" else "JobCompletedSuccessfully"))
    return (
        '<?xml version="1.0" encoding="UTF-8"?>'
        '<scan:ScannerStatus xmlns:scan="%s" xmlns:pwg="%s">'
        "<pwg:Version>2.63</pwg:Version><pwg:State>Idle</pwg:State>"
        "<scan:AdfState>%s</scan:AdfState><scan:Jobs>%s</scan:Jobs></scan:ScannerStatus>"
        % (NS_SCAN, NS_PWG, SCANNER.adf_state(), jobs))


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "VellumoTestScanner/1.0"

    def log_message(self, fmt, *args):
        sys.stderr.write("%s %s\n" % (self.command, self.path))

    def reply(self, code, body=b"", content_type="text/xml", headers=()):
        self.send_response(code)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def path_only(self):
        return self.path.split("?", 1)[0].rstrip("/")

    def do_GET(self):
        path = self.path_only()
        if path == "/eSCL/ScannerCapabilities":
            self.reply(200, capabilities_xml().encode())
        elif path == "/eSCL/ScannerStatus":
            with LOCK:
                body = status_xml().encode()
            self.reply(200, body)
        elif path.startswith("/eSCL/ScanJobs/") and path.endswith("/NextDocument"):
            self.next_document(path[len("/eSCL/ScanJobs/"):-len("/NextDocument")])
        else:
            self.reply(404)

    def do_POST(self):
        if self.path_only() != "/eSCL/ScanJobs":
            self.reply(404)
            return
        length = int(self.headers.get("Content-Length") or 0)
        xml = self.rfile.read(length).decode("utf-8", "replace")
        source = tag(xml, "InputSource") or "Platen"
        duplex = tag(xml, "Duplex")
        settings = {
            "source": source,
            "duplex": duplex.lower() if duplex else "-",
            "mode": tag(xml, "ColorMode") or "RGB24",
            "xres": int(tag(xml, "XResolution") or 300),
            "yres": int(tag(xml, "YResolution") or 300),
            "x": int(tag(xml, "XOffset") or 0),
            "y": int(tag(xml, "YOffset") or 0),
            "width": int(tag(xml, "Width") or MAX_WIDTH),
            "height": int(tag(xml, "Height") or MAX_HEIGHT),
            "format": tag(xml, "DocumentFormatExt") or tag(xml, "DocumentFormat") or "image/jpeg",
            "brightness": tag(xml, "Brightness"),
            # SANE's escl back end sends its brightness under this (wrong) name; a scanner
            # ignores it, but the test can see what was meant.
            "brightness_support": tag(xml, "BrightnessSupport"),
        }
        with LOCK:
            SCANNER.job_count += 1
            number = SCANNER.job_count
        line = "job %d source=%s duplex=%s mode=%s xres=%d yres=%d x=%d y=%d width=%d height=%d " \
               "format=%s brightness=%s brightness-support=%s" % (
                   number, settings["source"], settings["duplex"], settings["mode"],
                   settings["xres"], settings["yres"], settings["x"], settings["y"],
                   settings["width"], settings["height"], settings["format"],
                   settings["brightness"] or "-", settings["brightness_support"] or "-")
        record(line)
        if source == "Feeder" and SCANNER.sheets <= 0:
            record("refused %d feeder-empty" % number)
            self.reply(409)
            return
        if source == "Platen" and ARGS.no_platen:
            record("refused %d no-platen" % number)
            self.reply(409)
            return
        job = Job(number, settings)
        with LOCK:
            SCANNER.jobs[job.uuid] = job
            SCANNER.jammed = False
        self.reply(201, headers=[("Location", job.uri)])

    def do_DELETE(self):
        path = self.path_only()
        job = SCANNER.jobs.get(path[len("/eSCL/ScanJobs/"):]) if path.startswith(
            "/eSCL/ScanJobs/") else None
        if job is None:
            self.reply(404)
            return
        with LOCK:
            state = job.state
            job.state = "Canceled"
        record("delete %d %s pages=%d" % (job.number, state, job.pages_sent))
        self.reply(200)

    def next_document(self, job_id):
        job = SCANNER.jobs.get(job_id)
        if job is None or job.state != "Processing":
            self.reply(404)
            return
        if ARGS.vanish_after >= 0 and SCANNER.pages_total >= ARGS.vanish_after:
            record("vanished")
            self.close_connection = True
            self.connection.shutdown(socket.SHUT_RDWR)
            threading.Thread(target=self.server.shutdown, daemon=True).start()
            return
        if ARGS.page_delay > 0:
            time.sleep(ARGS.page_delay)
        s = job.settings
        feeder = s["source"] == "Feeder"
        if feeder and 0 <= ARGS.jam_after <= job.pages_sent and job.pending_back is None:
            with LOCK:
                SCANNER.jammed = True
                job.state = "Aborted"
            record("jam %d" % job.number)
            self.reply(503)
            return
        back = False
        with LOCK:
            if not feeder:
                if job.pages_sent >= 1:
                    job.state = "Completed"
                    sheet = None
                else:
                    sheet = 0
            elif job.pending_back is not None:
                sheet, back = job.pending_back, True
                job.pending_back = None
            elif SCANNER.sheets > 0:
                SCANNER.sheets -= 1
                SCANNER.sheet_number += 1
                sheet = SCANNER.sheet_number
                if s["duplex"] == "true":
                    job.pending_back = sheet
            else:
                job.state = "Completed"
                sheet = None
        if sheet is None:
            self.reply(404)
            return
        width = max(1, s["width"] * s["xres"] // 300)
        height = max(1, s["height"] * s["yres"] // 300)
        brightness = int(s["brightness"]) if s["brightness"] else BRIGHTNESS_NORMAL
        rows = page_blocks(width, height, job.pages_sent + 1, back, brightness)
        if s["format"] == "image/png":
            body = encode_png(rows, width, height, s["mode"])
        else:
            body = encode_jpeg(rows, width, height, s["mode"])
        with LOCK:
            job.pages_sent += 1
            SCANNER.pages_total += 1
        record("page %d %d %s" % (job.number, sheet, "back" if back else "front"))
        self.reply(200, body, s["format"])


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    server = Server(("127.0.0.1", 0), Handler)
    port = server.server_address[1]
    tmp = ARGS.port_file + ".part"
    with open(tmp, "w") as f:
        f.write(str(port))
    os.rename(tmp, ARGS.port_file)
    try:
        server.serve_forever(poll_interval=0.1)
    except KeyboardInterrupt:
        pass
    server.server_close()


if __name__ == "__main__":
    main()
