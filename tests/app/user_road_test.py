#!/usr/bin/env python3
"""Vellumo driven the way a user drives it, in an X display of its own.

The real program is started with a private home, temporary folder and settings file, logging on
and the SANE test scanner as its scanner. Then, with real pointer clicks at the places where the
buttons are and real typing into the real dialogs:

  1. LOAD PAGE: a PNG, a JPEG and a TIFF file typed into the open-file dialog;
  2. the first page rotated right through its context menu, then the second page dragged
     before it;
  3. SAVE AS PDF (its key, Ctrl+S): the path typed into the save dialog, the list cleared
     afterwards;
  4. SCAN PAGE twice from the test scanner, each page kept in the preview dialog;
  5. MAIL AS PDF through an SMTP server on 127.0.0.1, the send-mail dialog filled in;
  6. Exit.

Then the saved PDF, the received mail and its PDF, the files left behind and the log, line by
line, are checked against what each step must produce.

    user_road_test.py --program build/default/app/vellumo --source-dir .

Screenshots of every step go to a folder that is printed; it is kept when the test fails (or
always with --keep).
"""

import argparse
import configparser
import email
import email.policy
import email.utils
import hashlib
import importlib.util
import json
import os
import re
import select
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

# The whole road, start to end, must be done in this many seconds.
ROAD_SECONDS = 100
SCREEN = (1280, 900)
SKIN_SIZE = (899, 665)

TITLE_SKIN = "Vellumo"
TITLE_LOAD = "Select file(s) to load"
TITLE_SAVE = "Select PDF file to save to"
TITLE_PREVIEW = "Vellumo - Scanned image preview"
TITLE_SEND_MAIL = "Vellumo - Send by email"

SENDER = "scanner@example.org"
RECIPIENT = "office@example.net"
SUBJECT = "Two scanned pages"
MESSAGE = "Here they are."


class RoadFailure(Exception):
    pass


# ---- small helpers -------------------------------------------------------------------------------


class Clock:
    def __init__(self, seconds):
        self.start = time.monotonic()
        self.end = self.start + seconds

    def left(self):
        return self.end - time.monotonic()

    def elapsed(self):
        return time.monotonic() - self.start


def run(args, env=None, timeout=20, check=True, binary=False):
    try:
        done = subprocess.run(args, env=env, timeout=timeout, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE)
    except subprocess.TimeoutExpired:
        raise RoadFailure("%s did not finish within %d s" % (args[0], timeout))
    if check and done.returncode != 0:
        raise RoadFailure("%s failed (%d): %s" % (" ".join(args), done.returncode,
                                                 done.stderr.decode(errors="replace").strip()))
    return done.stdout if binary else done.stdout.decode(errors="replace")


def stop_process(proc, name, grace=5):
    """Ends a process this test started: TERM, then KILL after the grace time."""
    if proc is None or proc.poll() is not None:
        return
    proc.terminate()
    try:
        proc.wait(timeout=grace)
    except subprocess.TimeoutExpired:
        print("note: %s did not end on TERM, killing it" % name)
        proc.kill()
        proc.wait(timeout=grace)


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def ini_key(name):
    # QSettings' ini format writes every character of a key outside [A-Za-z0-9_.-] as %XX.
    return "".join(c if (c.isalnum() and c.isascii()) or c in "_.-" else "%%%02X" % ord(c)
                   for c in name)


# ---- the X display -------------------------------------------------------------------------------


class Display:
    """An Xvfb on a free display number, with a compositor when there is one."""

    def __init__(self, workdir):
        self.workdir = workdir
        self.xvfb = None
        self.compositor = None
        self.name = None
        self.env = None

    def start(self):
        read_end, write_end = os.pipe()
        log = open(os.path.join(self.workdir, "xvfb.log"), "wb")
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             "%dx%dx24" % SCREEN, "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=log, stderr=log)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 15
        while not number.endswith(b"\n"):
            left = deadline - time.monotonic()
            ready, _, _ = select.select([read_end], [], [], max(left, 0))
            if not ready:
                os.close(read_end)
                raise RoadFailure("Xvfb did not report its display within 15 s")
            chunk = os.read(read_end, 16)
            if not chunk:
                os.close(read_end)
                raise RoadFailure("Xvfb ended before it reported its display")
            number += chunk
        os.close(read_end)
        self.name = ":" + number.decode().strip()
        self.env = dict(os.environ, DISPLAY=self.name)
        self.env.pop("XAUTHORITY", None)
        if shutil.which("xcompmgr"):
            self.compositor = subprocess.Popen(
                ["xcompmgr"], env=self.env, stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL)

    def stop(self):
        stop_process(self.compositor, "xcompmgr")
        stop_process(self.xvfb, "Xvfb")

    # Tools on this display.
    def xdotool(self, *args, check=True):
        return run(["xdotool"] + [str(a) for a in args], env=self.env, check=check).strip()

    def screenshot(self, path):
        run(["import", "-display", self.name, "-window", "root", path], check=False, timeout=15)

    def visible_windows(self):
        out = self.xdotool("search", "--onlyvisible", "--name", ".*", check=False)
        return [int(w) for w in out.split()]

    def window_name(self, window):
        return self.xdotool("getwindowname", window, check=False)

    def geometry(self, window):
        """Absolute x, y, width and height of a window, or None when it is gone."""
        out = run(["xwininfo", "-id", str(window)], env=self.env, check=False)
        values = {}
        for key, label in (("x", "Absolute upper-left X"), ("y", "Absolute upper-left Y"),
                           ("w", "Width"), ("h", "Height"), ("state", "Map State")):
            m = re.search(r"^\s*%s:\s*(\S+)" % re.escape(label), out, re.M)
            if not m:
                return None
            values[key] = m.group(1)
        if values["state"] != "IsViewable":
            return None
        return tuple(int(values[k]) for k in ("x", "y", "w", "h"))

    def focused_window(self):
        out = self.xdotool("getwindowfocus", check=False)
        return int(out) if out.isdigit() else None

    def move(self, x, y):
        self.xdotool("mousemove", "--sync", x, y)

    def click(self, x, y, button=1):
        self.move(x, y)
        self.xdotool("click", button)

    def type(self, text):
        self.xdotool("type", "--delay", 12, "--", text)

    def key(self, *keys):
        self.xdotool("key", "--delay", 30, *keys)


# ---- the road ------------------------------------------------------------------------------------


class Road:
    def __init__(self, args):
        self.args = args
        self.clock = Clock(ROAD_SECONDS)
        self.workdir = tempfile.mkdtemp(prefix="vellumo-e2e-")
        self.shots = os.path.join(self.workdir, "screenshots")
        os.makedirs(self.shots)
        self.shot_number = 0
        self.step = "setting up"
        self.display = Display(self.workdir)
        self.program = None
        self.smtp = None
        self.skin = None
        self.answered_boxes = set()
        self.layout = read_layout(args.source_dir)

        self.home = os.path.join(self.workdir, "home")
        self.pages = os.path.join(self.home, ".local", "state", "vellumo", "pages")
        self.tmp = os.path.join(self.workdir, "tmp")
        self.runtime = os.path.join(self.workdir, "run")
        self.images = os.path.join(self.workdir, "images")
        self.output = os.path.join(self.workdir, "output")
        self.mailbox = os.path.join(self.workdir, "mailbox")
        self.documents = os.path.join(self.home, "Documents")
        self.log_path = os.path.join(self.documents, "Vellumo_log.mdm")
        self.pdf_path = os.path.join(self.output, "three pages.pdf")
        for d in (self.home, self.tmp, self.runtime, self.images, self.output, self.mailbox,
                  self.documents, os.path.join(self.home, ".config", "Brackwin")):
            os.makedirs(d, exist_ok=True)
        os.chmod(self.runtime, 0o700)
        self.smtp_port = None

    # -- reporting

    def begin(self, step):
        self.step = step
        print("[%5.1f s] %s" % (self.clock.elapsed(), step), flush=True)

    def shot(self, label):
        self.shot_number += 1
        name = "%02d-%s.png" % (self.shot_number, re.sub(r"[^a-z0-9]+", "-", label.lower()))
        self.display.screenshot(os.path.join(self.shots, name))

    def fail(self, text):
        raise RoadFailure("%s: %s" % (self.step, text))

    # -- waiting

    def wait(self, what, predicate, timeout=20, interval=0.05):
        limit = time.monotonic() + min(timeout, max(self.clock.left(), 0))
        while True:
            value = predicate()
            if value:
                return value
            if self.program is not None and self.program.poll() is not None:
                self.fail("the program ended (exit code %s) while waiting for %s"
                          % (self.program.returncode, what))
            if time.monotonic() >= limit:
                self.fail("timed out waiting for %s" % what)
            time.sleep(interval)

    def log_lines(self):
        try:
            with open(self.log_path, "rb") as f:
                text = f.read().decode("utf-8", errors="replace")
        except FileNotFoundError:
            return []
        # Lines end in "\n"; a message that brought its own "\r\n" keeps its "\r".
        lines = text.split("\n")
        if lines and lines[-1] == "":
            lines.pop()
        return [strip_timestamp(line) for line in lines]

    def wait_log(self, pattern, count=1, timeout=20):
        regex = re.compile(pattern)
        self.wait("%d log line(s) matching %r" % (count, pattern),
                  lambda: sum(1 for line in self.log_lines() if regex.fullmatch(line)) >= count,
                  timeout=timeout)

    def wait_window(self, title, timeout=20):
        """The visible top-level window whose title is exactly `title`."""
        def find():
            for w in self.display.visible_windows():
                if self.display.window_name(w) == title:
                    geometry = self.display.geometry(w)
                    if geometry:
                        return w, geometry
            return None
        return self.wait("the window %r" % title, find, timeout=timeout)

    def wait_gone(self, window, what, timeout=20):
        self.wait("%s to close" % what, lambda: self.display.geometry(window) is None,
                  timeout=timeout)

    def focus(self, window):
        """Keyboard input goes to `window`: the program gives its new dialogs the focus itself;
        if it has not arrived yet, the focus is given the way a window manager gives it."""
        try:
            self.wait("the keyboard focus on window %d" % window,
                      lambda: self.display.focused_window() == window, timeout=3)
        except RoadFailure:
            self.display.xdotool("windowfocus", "--sync", window)

    def wait_message_box(self, what, timeout=20):
        """A message box ("Vellumo") that has the keyboard focus: the activity window, which
        shows the same caption, never takes the focus."""
        def find():
            w = self.display.focused_window()
            if not w or w == self.skin or w in self.answered_boxes:
                return None
            if self.display.window_name(w) != TITLE_SKIN or not self.display.geometry(w):
                return None
            return w
        box = self.wait("the message box %s" % what, find, timeout=timeout)
        self.answered_boxes.add(box)
        return box

    def answer_box(self, what, key):
        box = self.wait_message_box(what)
        self.shot("box " + what)
        self.display.key(key)
        self.wait_gone(box, "the message box %s" % what, timeout=10)

    # -- places on the screen

    def skin_point(self, rect_name):
        """The screen point in the middle of one of the main window's controls."""
        x, y, w, h = self.layout[rect_name]
        sx, sy = self.skin_origin
        return sx + x + w // 2, sy + y + h // 2

    def click_control(self, rect_name):
        self.display.click(*self.skin_point(rect_name))

    # -- set-up

    def make_images(self):
        self.png = os.path.join(self.images, "landscape.png")
        self.jpeg = os.path.join(self.images, "portrait.jpg")
        self.tiff = os.path.join(self.images, "bilevel.tif")
        # A landscape colour page with a red block in its top-left corner: after a quarter
        # turn to the right the block must stand in the top-right corner.
        run(["convert", "-size", "320x200", "xc:white", "-fill", "red",
             "-draw", "rectangle 0,0 79,49", self.png])
        run(["convert", "-size", "200x300", "gradient:white-gray20", "-quality", "90",
             self.jpeg])
        run(["convert", "-size", "300x240", "xc:white", "-fill", "black",
             "-draw", "circle 150,120 150,40", "-type", "bilevel", "-compress", "Group4",
             self.tiff])
        self.image_hashes = {p: sha256(p) for p in (self.png, self.jpeg, self.tiff)}

    def start_smtp_server(self):
        handler_dir = os.path.dirname(os.path.abspath(__file__))
        # The handler is imported from the source tree, which gets no compiled files.
        env = dict(os.environ, PYTHONPATH=handler_dir, PYTHONDONTWRITEBYTECODE="1")
        for _ in range(3):
            port = free_port()
            log = open(os.path.join(self.workdir, "smtp-server.log"), "wb")
            proc = subprocess.Popen(
                [sys.executable, "-m", "aiosmtpd", "-n", "-l", "127.0.0.1:%d" % port,
                 "-c", "smtp_folder_handler.FolderHandler", self.mailbox],
                env=env, stdout=log, stderr=log)
            deadline = time.monotonic() + 10
            while time.monotonic() < deadline and proc.poll() is None:
                try:
                    with socket.create_connection(("127.0.0.1", port), timeout=1) as s:
                        s.settimeout(2)
                        if s.recv(512).startswith(b"220"):
                            self.smtp, self.smtp_port = proc, port
                            return
                except OSError:
                    time.sleep(0.05)
            stop_process(proc, "aiosmtpd")
        raise RoadFailure("the SMTP server (aiosmtpd) did not start; see %s"
                          % os.path.join(self.workdir, "smtp-server.log"))

    def write_settings(self):
        settings = [
            ("LogFile", "1"),
            ("Preview", "1"),
            ("ADF", "1"),  # the feeder is not used: one page per scan
            ("nType", "1"),  # grey scales
            ("ResGrey", "50"),
            ("CurrentDevice", "test:0"),
            ("ViaSMTP", "1"),
            ("SMTP Server", "127.0.0.1"),
            ("SMTP Port", str(self.smtp_port)),
            ("SMTP Email address", SENDER),
        ]
        path = os.path.join(self.home, ".config", "Brackwin", "Vellumo.conf")
        with open(path, "w") as f:
            f.write("[Settings]\n")
            for name, value in settings:
                f.write("%s=%s\n" % (ini_key(name), value))

    def program_env(self):
        env = dict(self.display.env)
        for name in ("QT_QPA_PLATFORM", "DBUS_SESSION_BUS_ADDRESS", "SESSION_MANAGER",
                     "VELLUMO_QUIT_AFTER_MS", "XDG_CURRENT_DESKTOP", "QT_SCALE_FACTOR",
                     "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI"):
            env.pop(name, None)
        env.update({
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
            "XDG_DATA_HOME": os.path.join(self.home, ".local", "share"),
            "XDG_CACHE_HOME": os.path.join(self.home, ".cache"),
            "XDG_STATE_HOME": os.path.join(self.home, ".local", "state"),
            "XDG_RUNTIME_DIR": self.runtime,
            "TMPDIR": self.tmp,
            "SANE_CONFIG_DIR": self.args.sane_config_dir,
            # No printer: the scan frame is Letter, whatever this machine's printers are.
            "CUPS_SERVER": os.path.join(self.workdir, "no-cups-here.sock"),
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
        })
        return env

    # -- the steps

    def start_program(self):
        self.begin("start the program")
        out = open(os.path.join(self.workdir, "program-output.txt"), "wb")
        self.program = subprocess.Popen([self.args.program], env=self.program_env(),
                                        cwd=self.workdir, stdout=out, stderr=out)
        self.skin, geometry = self.wait_window(TITLE_SKIN, timeout=30)
        if geometry[2:] != SKIN_SIZE:
            self.fail("the main window is %dx%d, not %dx%d" % (geometry[2:] + SKIN_SIZE))
        self.skin_origin = geometry[:2]
        # The scanners are looked for in the background; the start-up selection logs its end.
        self.wait_log(r"Current source now .*", timeout=30)
        self.shot("started")

    def load_pages(self):
        self.begin("LOAD PAGE: three image files")
        self.click_control("kLoad")
        dialog, _ = self.wait_window(TITLE_LOAD)
        self.shot("open dialog")
        self.focus(dialog)
        self.display.type(" ".join('"%s"' % p for p in (self.png, self.jpeg, self.tiff)))
        self.shot("open dialog typed")
        self.display.key("Return")
        self.wait_gone(dialog, "the open-file dialog")
        self.wait_log(re.escape("Image(s) loaded") + "\r")
        self.shot("three pages loaded")

    def rotate_first_page(self):
        self.begin("rotate the first page right through its context menu")
        x, y, w, h = self.layout["kPageList"]
        sx, sy = self.skin_origin
        # The list shows its last page after loading: the wheel brings the first one back.
        self.display.move(sx + x + w // 2, sy + y + h // 2)
        self.display.xdotool("click", "--repeat", 20, "--delay", 15, 4)
        before = set(self.display.visible_windows())
        # The first thumbnail's cell fills the top of the list.
        self.display.click(sx + x + w // 2, sy + y + 120, button=3)

        def menu():
            for window in set(self.display.visible_windows()) - before:
                geometry = self.display.geometry(window)
                if geometry:
                    return window, geometry
            return None
        window, _ = self.wait("the page's context menu", menu, timeout=10)
        self.shot("context menu")
        # "Undo" and "Redo" head the menu; after a load only Undo can be chosen, and the arrow
        # keys pass over entries that cannot: the second Down reaches "Rotate right".
        self.display.key("Down", "Down", "Return")
        self.wait_gone(window, "the context menu", timeout=10)
        self.wait_log(r"End rotate right")
        self.shot("first page rotated")

    def drag_second_page_first(self):
        self.begin("drag the second page's thumbnail onto the first")
        x, y, w, h = self.layout["kPageList"]
        sx, sy = self.skin_origin
        cx = sx + x + w // 2
        # The list still shows its top: the first cell, and the second from about 280 px down.
        self.display.move(cx, sy + y + h - 40)
        self.display.xdotool("mousedown", 1)
        for to in range(h - 50, 59, -30):
            time.sleep(0.05)
            self.display.move(cx, sy + y + to)
        time.sleep(0.2)
        self.shot("dragging")
        self.display.xdotool("mouseup", 1)
        # A move writes no log line and asks nothing; the PDF shows the new order.
        time.sleep(0.5)
        self.shot("page moved")

    def save_pdf(self):
        self.begin("SAVE AS PDF, by its key Ctrl+S")
        self.focus(self.skin)
        self.display.key("ctrl+s")
        dialog, _ = self.wait_window(TITLE_SAVE)
        self.shot("save dialog")
        self.focus(dialog)
        self.display.key("ctrl+a")
        self.display.type(self.pdf_path)
        self.shot("save dialog typed")
        self.display.key("Return")
        self.wait_gone(dialog, "the save dialog")
        self.wait_log(re.escape("Successfully created PDF file " + self.pdf_path), timeout=30)
        self.answer_box("of success", "Return")
        # "Clear list of pages to save or send?": Yes.
        self.answer_box("asking to clear the list", "y")
        self.wait_log(re.escape("Images and attachments deleted") + "\r")
        self.shot("list cleared")

    def scan_page(self, number):
        self.begin("SCAN PAGE %d: the test scanner, kept in the preview" % number)
        self.click_control("kScan")
        dialog, (px, py, pw, ph) = self.wait_window(TITLE_PREVIEW, timeout=30)
        self.shot("preview %d" % number)
        units = dialog_base_units((pw, ph), (339, 277))
        if not units:
            self.fail("the preview dialog's size %dx%d is no 339 x 277 dialog units" % (pw, ph))
        ox, oy = dialog_point(units, (263, 251, 73, 18))  # "OK"
        self.display.click(px + ox, py + oy)
        self.wait_gone(dialog, "the preview dialog")
        self.wait_log(r"All images processed", count=number, timeout=30)
        self.wait_log(r"SANE: sane_close", count=number)
        self.shot("scanned %d" % number)

    def mail_pdf(self):
        self.begin("MAIL AS PDF through the SMTP server")
        self.click_control("kMail")
        dialog, (dx, dy, dw, dh) = self.wait_window(TITLE_SEND_MAIL, timeout=30)
        units = dialog_base_units((dw, dh), (367, 218))
        if not units:
            self.fail("the send-mail dialog's size %dx%d is no 367 x 218 dialog units"
                      % (dw, dh))
        self.shot("send-mail dialog")
        self.focus(dialog)
        # "From:" holds the address of the settings; the others are typed.
        for place, text in (((6, 47, 171, 12), RECIPIENT), ((6, 79, 343, 12), SUBJECT),
                            ((6, 113, 345, 62), MESSAGE)):
            fx, fy = dialog_point(units, place)
            self.display.click(dx + fx, dy + fy)
            self.display.type(text)
        self.shot("send-mail dialog filled")
        sx, sy = dialog_point(units, (189, 191, 54, 14))  # "Send mail"
        self.display.click(dx + sx, dy + sy)
        self.wait_gone(dialog, "the send-mail dialog")
        self.wait_log(r"SmtpSendMessage successful", timeout=30)
        self.answer_box("of the sent message", "Return")
        # "Clear list of pages to send?": Yes.
        self.answer_box("asking to clear the list", "y")
        self.wait_log(re.escape("Images and attachments deleted") + "\r", count=2)
        self.shot("mailed")

    def exit_program(self):
        self.begin("Exit")
        self.click_control("kExit")
        try:
            code = self.program.wait(timeout=min(15, max(self.clock.left(), 1)))
        except subprocess.TimeoutExpired:
            self.shot("exit")
            self.fail("the program did not end after Exit")
        if code != 0:
            self.fail("the program ended with exit code %d" % code)

    # -- the checks

    def check_pdf(self):
        self.begin("check the saved PDF")
        check_pdf_file(self, self.pdf_path, 3)
        sizes = pdf_page_sizes(self, self.pdf_path)
        # The JPEG dragged before the PNG, which was turned a quarter; the TIFF last.
        expected = [(200, 300), (200, 320), (300, 240)]
        for number, ((w, h), (ew, eh)) in enumerate(zip(sizes, expected), start=1):
            if (w > h) != (ew > eh) or abs(w / h - ew / eh) > 0.02:
                self.fail("page %d is %.1f x %.1f pt; its picture is %d x %d pixels"
                          % (number, w, h, ew, eh))
        page = render_page(self, self.pdf_path, 2)
        checks = [((0.88, 0.12), "red", "top-right corner (where the top-left one went)"),
                  ((0.12, 0.12), "white", "top-left corner"),
                  ((0.12, 0.88), "white", "bottom-left corner"),
                  ((0.88, 0.88), "white", "bottom-right corner")]
        for (fx, fy), colour, where in checks:
            got = classify(page.pixel(fx, fy))
            if got != colour:
                self.fail("page 2 is %s in its %s, not %s" % (got, where, colour))
        page3 = render_page(self, self.pdf_path, 3)
        if classify(page3.pixel(0.5, 0.5)) != "black" or classify(page3.pixel(0.05, 0.05)) \
                != "white":
            self.fail("page 3 does not show the black circle on white")
        page1 = render_page(self, self.pdf_path, 1)
        top, bottom = sum(page1.pixel(0.5, 0.05)), sum(page1.pixel(0.5, 0.95))
        if not top > bottom + 200:
            self.fail("page 1 does not run from white at the top to dark at the bottom")

    def check_mail(self):
        self.begin("check the received mail")
        messages = sorted(n for n in os.listdir(self.mailbox) if n.endswith(".eml"))
        if len(messages) != 1:
            self.fail("the SMTP server received %d messages, not 1" % len(messages))
        stem = os.path.join(self.mailbox, messages[0][:-4])
        with open(stem + ".json") as f:
            envelope = json.load(f)
        if envelope["mail_from"] != SENDER or envelope["rcpt_tos"] != [RECIPIENT]:
            self.fail("the envelope is from %r to %r" % (envelope["mail_from"],
                                                         envelope["rcpt_tos"]))
        with open(stem + ".eml", "rb") as f:
            message = email.message_from_binary_file(f, policy=email.policy.default)
        for header, value in (("From", SENDER), ("To", RECIPIENT), ("Subject", SUBJECT)):
            if str(message.get(header, "")).strip() != value:
                self.fail("the header %s is %r, not %r" % (header, message.get(header), value))
        # A message without these two is not one RFC 5322 allows (Date) or one that mail
        # programs can refer to (Message-ID).
        try:
            sent = email.utils.parsedate_to_datetime(str(message["Date"]))
        except (TypeError, ValueError):
            sent = None
        if sent is None or abs(time.time() - sent.timestamp()) > 600:
            self.fail("the mail's Date header %r is missing or wrong" % message["Date"])
        message_id = str(message.get("Message-ID", "")).strip()
        if not re.fullmatch(r"<[^<>@\s]+@[^<>@\s]+>", message_id):
            self.fail("the mail's Message-ID %r is missing or malformed" % message["Message-ID"])
        if message.get("MIME-Version", "").strip() != "1.0" or not message.is_multipart():
            self.fail("the mail is no multipart MIME message")
        body = message.get_body(preferencelist=("plain",))
        if body is None or body.get_content().strip() != MESSAGE:
            self.fail("the mail's text is %r, not %r"
                      % (body.get_content() if body else None, MESSAGE))
        attachments = list(message.iter_attachments())
        pdfs = [a for a in attachments if a.get_content_type() == "application/pdf"]
        if len(attachments) != 1 or len(pdfs) != 1:
            self.fail("the mail has %d attachments (%s), not one PDF"
                      % (len(attachments), [a.get_content_type() for a in attachments]))
        if pdfs[0].get_filename() != "Images.pdf":
            self.fail("the attachment is named %r, not 'Images.pdf'" % pdfs[0].get_filename())
        attached = os.path.join(self.workdir, "attached.pdf")
        with open(attached, "wb") as f:
            f.write(pdfs[0].get_content())
        check_pdf_file(self, attached, 2)
        for number, (w, h) in enumerate(pdf_page_sizes(self, attached), start=1):
            # Letter at 50 dots per inch, as the scanner delivered it.
            if not (h > w and abs(h / w - 549 / 423) < 0.02):
                self.fail("scanned page %d is %.1f x %.1f pt, not a Letter scan" % (number, w, h))

    def check_files(self):
        self.begin("check the files left behind")
        for path, digest in self.image_hashes.items():
            if not os.path.exists(path) or sha256(path) != digest:
                self.fail("the user's file %s was changed or removed" % path)
        left = sorted(os.listdir(self.tmp))
        for name in left:
            if name == "Images.pdf" or name.startswith(("msg", "VWmail-")):
                self.fail("%s is still in the temporary folder" % name)
        # The pages' files stay while an undo can bring the cleared list back; a clean exit
        # takes them all, and the private folder is empty.
        if self.rotated_copy and os.path.exists(self.rotated_copy):
            self.fail("the rotated page's working copy %s was not deleted at exit"
                      % self.rotated_copy)
        if os.path.isdir(self.pages) and os.listdir(self.pages):
            self.fail("files left in the private page folder: %s" % os.listdir(self.pages))

    def check_settings(self):
        self.begin("check the settings the program kept")
        parser = configparser.RawConfigParser(interpolation=None)
        parser.optionxform = str
        parser.read(os.path.join(self.home, ".config", "Brackwin", "Vellumo.conf"))
        if not parser.has_section("Settings"):
            self.fail("the settings file has no [Settings] group any more")
        stored = parser["Settings"]
        sx, sy = self.skin_origin
        expected = {
            "CurrentDir": self.images + "/",  # the folder last loaded from
            "CurrentDirSave": self.output + "/",  # the folder last saved to
            "CurrentDevice": "Noname frontend-tester",  # the source the start-up selected
            "LogFile": "1",
            ini_key("SMTP Port"): str(self.smtp_port),
            "wp.left": str(sx),
            "wp.top": str(sy),
            "wp.right": str(sx + SKIN_SIZE[0]),
            "wp.bottom": str(sy + SKIN_SIZE[1]),
        }
        for key, value in expected.items():
            if stored.get(key) != value:
                self.fail("the setting %s is %r, not %r" % (key, stored.get(key), value))

    def check_log(self):
        self.begin("check the log line by line")
        lines = self.log_lines()
        # Text recognition and the clean-up run in the background, so their lines fall between
        # the others wherever they finish: they are checked apart from the ordered log.
        background = [line for line in lines if BACKGROUND_LINE.fullmatch(line)]
        lines = [line for line in lines if not BACKGROUND_LINE.fullmatch(line)]
        for page in (self.jpeg, self.tiff):
            if not any(re.fullmatch(r"Recognised \d+ words in %s \(.+\)" % re.escape(page), line)
                       for line in background):
                self.fail("no text recognition logged for %s among %r" % (page, background))
        expected = expected_log(self)
        captures = match_log(self, lines, expected)
        self.rotated_copy = captures.get("rotated")

    # -- all of it

    def drive(self):
        self.make_images()
        self.start_smtp_server()
        self.write_settings()
        self.display.start()
        print("display %s, work folder %s" % (self.display.name, self.workdir), flush=True)
        self.start_program()
        self.load_pages()
        self.rotate_first_page()
        self.drag_second_page_first()
        self.save_pdf()
        self.scan_page(1)
        self.scan_page(2)
        self.mail_pdf()
        self.exit_program()
        self.check_log()
        self.check_pdf()
        self.check_mail()
        self.check_files()
        self.check_settings()

    def report_failure(self):
        """What the program wrote and logged last, for a failure's report."""
        for title, path, count in (("program output", "program-output.txt", 15),
                                   ("last log lines", self.log_path, 15)):
            path = os.path.join(self.workdir, path)
            try:
                with open(path, "rb") as f:
                    tail = f.read().decode("utf-8", errors="replace").splitlines()[-count:]
            except OSError:
                continue
            print("--- %s (%s):" % (title, path))
            for line in tail:
                print("    " + line)

    def close(self):
        stop_process(self.program, "vellumo")
        stop_process(self.smtp, "aiosmtpd")
        self.display.stop()


# ---- layout, dialog units ------------------------------------------------------------------------


def read_layout(source_dir):
    """The control rectangles of the main window, from the table of control places that the
    main dialog and the artwork generator both read."""
    path = os.path.join(source_dir, "mainwnd", "controls.h")
    with open(path) as f:
        text = f.read()
    places = dict((name, tuple(int(v) for v in values))
                  for name, *values in re.findall(
                      r"\{id::(\w+), (\d+), (\d+), (\d+), (\d+)\}", text))
    names = {"kLoad": "LoadPage", "kScan": "ScanPage", "kMail": "MailPdf", "kSave": "SavePdf",
             "kExit": "Exit", "kPageList": "PageList"}
    missing = [n for n in names.values() if n not in places]
    if missing:
        raise RoadFailure("the table of control places in %s lacks %s" % (path, ", ".join(missing)))
    return dict((short, places[name]) for short, name in names.items())


def dialog_base_units(pixels, units):
    """The horizontal and vertical dialog base units under which a dialog of `units` dialog
    units has the size `pixels` (x: units * base / 4, y: units * base / 8, rounded)."""
    found = []
    for size, n, divisor in ((pixels[0], units[0], 4), (pixels[1], units[1], 8)):
        base = [b for b in range(1, 64) if (n * b + divisor // 2) // divisor == size]
        if not base:
            return None
        found.append(base[0])
    return tuple(found)


def dialog_point(units, rect):
    """The middle of a control given in dialog units, in pixels from the dialog's corner."""
    bx, by = units
    x, y, w, h = rect
    px = lambda v: (v * bx + 2) // 4
    py = lambda v: (v * by + 4) // 8
    return px(x) + px(w) // 2, py(y) + py(h) // 2


# ---- PDF checks ----------------------------------------------------------------------------------


def check_pdf_file(road, path, pages):
    done = subprocess.run(["qpdf", "--check", path], stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, timeout=20)
    if done.returncode != 0:
        road.fail("qpdf --check %s: %s" % (path, done.stdout.decode(errors="replace")))
    count = int(run(["qpdf", "--show-npages", path]).strip())
    if count != pages:
        road.fail("%s has %d pages, not %d" % (path, count, pages))


def pdf_page_sizes(road, path):
    out = run(["pdfinfo", "-f", "1", "-l", "999", path])
    sizes = [(float(w), float(h)) for w, h in
             re.findall(r"^Page\s+\d+ size:\s+([\d.]+) x ([\d.]+) pts", out, re.M)]
    if not sizes:
        road.fail("pdfinfo lists no page sizes for %s" % path)
    return sizes


class Picture:
    def __init__(self, data):
        # Binary PPM: "P6\n<w> <h>\n<max>\n" then RGB bytes.
        m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
        if not m:
            raise RoadFailure("pdftoppm gave no PPM picture")
        self.w, self.h = int(m.group(1)), int(m.group(2))
        self.pixels = data[m.end():]

    def pixel(self, fx, fy):
        x = min(int(fx * self.w), self.w - 1)
        y = min(int(fy * self.h), self.h - 1)
        i = (y * self.w + x) * 3
        return tuple(self.pixels[i:i + 3])


def render_page(road, path, page):
    data = run(["pdftoppm", "-f", str(page), "-l", str(page), "-r", "36", path], binary=True)
    return Picture(data)


def classify(rgb):
    r, g, b = rgb
    if r > 200 and g > 200 and b > 200:
        return "white"
    if r < 60 and g < 60 and b < 60:
        return "black"
    if r > 150 and g < 90 and b < 90:
        return "red"
    return "rgb%s" % (rgb,)


# ---- the log -------------------------------------------------------------------------------------

TIMESTAMP = re.compile(r"^\d\d/\d\d/\d\d \d\d:\d\d:\d\d - ")


def strip_timestamp(line):
    m = TIMESTAMP.match(line)
    return line[m.end():] if m else "<no time stamp> " + line


def scan_block(number, layout_before):
    """What one flatbed scan from the test scanner writes, grey scales at 50 dots per inch, no
    printer (Letter frame), feeder off, previewed and kept."""
    resolution = [
        "Before: value 50, default 50, min 1, max 1200, step 1",
        "SANE: sane_control_option(resolution = 50) = Success",
        "After: value 50, default 50, min 1, max 1200, step 1",
    ]
    return [
        "Opening TWAIN session",
        "SANE: sane_open(test:0) = Success",
        "TWAIN session opened successfully",
        ("re", r"(?P<source>.+)"),
        "Setting current units to: 0",
        "Before: 0",
        "After: 0",
        "Setting pixel type to: 1",
        "Before: numItems 3, default 1, value 1",
        "After: numItems 3, default 1, value 1",
        "Setting X resolution to: 50",
        *resolution,
        "Setting Y resolution to: 50",
        *resolution,
        "Brightness capability not supported",
        "Setting duplex scanning",
        "No default printer found, scanning Letter format",
        "Image layout before: %s" % layout_before,
        "Setting image layout to: (0, 0, 8480, 10980)",
        "SANE: sane_control_option(tl-x = 0) = Success",
        "SANE: sane_control_option(br-x = 215.392) = Success",
        "SANE: sane_control_option(tl-y = 0) = Success",
        "SANE: sane_control_option(br-y = 278.892) = Success",
        "Image layout after: (0, 0, 8464, 10984)",
        "Should not use ADF",
        "Setting XferCount to: 1",
        "Start acquire",
        "SANE: sane_start = Success",
        "SANE: sane_read: 549 lines of 423 pixels, depth 8",
        "SANE: sane_cancel",
        "Transfer complete",
        "Convert to image done",
        "Dimensions of scanned image: 0, 0, 422, 548",
        "Dimensions of scanned image now: 0, 0, 422, 548",
        "Started making thumbnail",
        "Successfully made thumbnail",
        ("re", r"Saved image %d to (?P<scan%d><<pages>>/session-[^/]+/VW[^/]+\.tmp\.TIF), result = 0"
         % (number, number)),
        "Saving image done",
        "All images processed",
        "SANE: sane_close",
    ]


def pdf_block(files, notes=None):
    """The log of one PDF build; notes: page number -> the line its compression writes."""
    lines = ["Creator set", "Producer set", "Title set", "Creation date set"]
    for j, f in enumerate(files, start=1):
        lines.append(("re", r"Loading image %d of %d \(%s\)" % (j, len(files), f)))
        if notes and j in notes:
            lines.append(notes[j])
    return lines


# The lines of the work done on pages in the background (text recognition, clean-up).
BACKGROUND_LINE = re.compile(r"(Recognised \d+ words in |No text recognised in |Straightened page |"
                             r"Turned page |Dropped blank page |Page \d+ ).*")


def expected_log(road):
    """Every line the road writes, in order, time stamps stripped. Entries are literal lines
    or ("re", pattern): <<name>> in a pattern stands for a known path or an earlier capture."""
    thumbnail = ["Started making thumbnail", "Successfully made thumbnail"]
    return [
        "Vellumo 3.07",
        ("re", r"Running on .+"),  # this machine's system
        "SANE: sane_init",
        "SANE: sane_get_devices = Success",
        "Current source was test:0",
        ("sources",),  # "Found %d TWAIN sources:" and the numbered list
        "Current source now Noname frontend-tester",
        # Loaded pages get their thumbnails from worker threads, which do not log.
        "File to load: %s" % road.png,
        "File to load: %s" % road.jpeg,
        "File to load: %s" % road.tiff,
        "Image(s) loaded\r",
        "OnClickListThumbRight",
        "Start rotate right", *thumbnail, "End rotate right",
        "Start saving to PDF",
        "Will save to %s" % road.pdf_path,
        # "Compress PDF:" at 100 %: the camera JPEG of quality 90 goes in as it is.
        *pdf_block(["<<jpeg>>", r"(?P<rotated><<pages>>/session-[^/]+/VW[^/]+\.tmp\.TIF)", "<<tiff>>"],
                   {1: ("re", r"Image 1 of 3 kept as it is: its quality \(about \d+\) is not "
                               r"above 100")}),
        "Successfully created PDF file %s" % road.pdf_path,
        "Images and attachments deleted\r",
        *scan_block(1, "(0, 0, 3149, 3937)"),  # the test scanner's own frame
        *scan_block(2, "(0, 0, 8464, 10984)"),  # the frame the first scan left
        "Start mailing as PDF",
        # Each mail's PDF is built in a private folder of its own.
        ("re", r"Will save to (?P<mailpdf><<tmp>>/VWmail-[^/]+/Images\.pdf)"),
        *pdf_block(["<<scan1>>", "<<scan2>>"]),
        ("re", r"Successfully created PDF file <<mailpdf>>"),
        "MimeInitialize successful",
        "MimeCreateMessage successful",
        "SmtpInitialize successful",
        "SMTP server 127.0.0.1, port %d" % road.smtp_port,
        "SmtpConnect successful",
        "SmtpSendMessage successful",
        "Images and attachments deleted\r",
        "OnCancel",
        "Saving window location",
        "Stop",  # the main dialog
        "Stop",  # the skin window
    ]


def match_log(road, lines, expected):
    known = {"tmp": road.tmp, "pages": road.pages, "jpeg": road.jpeg, "tiff": road.tiff}
    captures = {}
    i = 0

    def mismatch(want):
        context = "\n".join("    %3d: %r" % (n + 1, lines[n])
                            for n in range(max(0, i - 3), min(len(lines), i + 4)))
        road.fail("log line %d is %r, expected %s\n  around it:\n%s"
                  % (i + 1, lines[i] if i < len(lines) else "<end of log>", want, context))

    for entry in expected:
        if isinstance(entry, tuple) and entry[0] == "sources":
            m = re.fullmatch(r"Found (\d+) TWAIN sources:", lines[i]) if i < len(lines) else None
            if not m:
                mismatch("'Found %d TWAIN sources:'")
            count = int(m.group(1))
            i += 1
            for n in range(1, count + 1):
                if i >= len(lines) or not re.fullmatch(r"%d: .+" % n, lines[i]):
                    mismatch("source %d of %d ('%d: <name>')" % (n, count, n))
                i += 1
            if count < 1:
                mismatch("at least the test scanner among the sources")
            continue
        if i >= len(lines):
            mismatch(repr(entry))
        if isinstance(entry, tuple):
            values = dict(known, **captures)
            pattern = re.sub(r"<<(\w+)>>", lambda m: re.escape(values[m.group(1)]), entry[1])
            m = re.fullmatch(pattern, lines[i])
            if not m:
                mismatch("a line matching %r" % pattern)
            captures.update({k: v for k, v in m.groupdict().items() if v is not None})
        elif lines[i] != entry:
            mismatch(repr(entry))
        i += 1
    if i != len(lines):
        road.fail("the log has %d more lines than expected, from line %d: %r"
                  % (len(lines) - i, i + 1, lines[i:i + 5]))
    return captures


# ---- main ----------------------------------------------------------------------------------------


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True, help="the vellumo executable")
    parser.add_argument("--source-dir", default=os.environ.get("VELLUMO_SOURCE_DIR", "."))
    parser.add_argument("--sane-config-dir", default=os.environ.get("SANE_CONFIG_DIR"))
    parser.add_argument("--keep", action="store_true", help="keep the work folder")
    args = parser.parse_args()
    if not args.sane_config_dir:
        parser.error("--sane-config-dir or SANE_CONFIG_DIR must name the test scanner's "
                     "SANE configuration")
    args.program = os.path.abspath(args.program)
    args.sane_config_dir = os.path.abspath(args.sane_config_dir)

    missing = [t for t in ("Xvfb", "xdotool", "xwininfo", "import", "convert", "qpdf",
                           "pdfinfo", "pdftoppm") if not shutil.which(t)]
    if missing:
        print("missing tools: %s (see tools/packages/e2e.txt)" % ", ".join(missing))
        return 1

    # The SMTP server runs in this same Python.
    if importlib.util.find_spec("aiosmtpd") is None:
        print("%s has no aiosmtpd (Debian: python3-aiosmtpd, for /usr/bin/python3)"
              % sys.executable)
        return 1

    road = Road(args)
    road.rotated_copy = None
    ok = False
    try:
        road.drive()
        ok = True
    except RoadFailure as failure:
        print("FAILED: %s" % failure, flush=True)
        if road.display.xvfb and road.display.xvfb.poll() is None:
            road.shot("failure")
        road.report_failure()
    finally:
        road.close()
    print("road took %.1f s" % road.clock.elapsed())
    if ok and not args.keep:
        shutil.rmtree(road.workdir, ignore_errors=True)
    else:
        print("screenshots: %s" % road.shots)
        print("work folder (log, program output, mails): %s" % road.workdir)
    if ok:
        print("PASSED")
    return 0 if ok else 1


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(2))
    sys.exit(main())
