#!/usr/bin/env python3
"""Vellumo as a screen reader sees it, over AT-SPI, in an X display and a D-Bus session of its own.

The real program is started with the SANE test scanner (slowed down, so that the activity
dialog stays up long enough to be read) and walked through every window a user meets:

  1. the main window in the home view;
  2. the settings view: the General page, then the Email page;
  3. SCAN PAGE: the activity dialog while the page is read, then the preview dialog;
  4. MAIL AS PDF: the send-mail dialog.

Every step is taken through AT-SPI actions, the way assistive technology takes it. In each
window every control (button, radio, check box, tab, list and its entries, text field, progress
bar) must have a name, and the known controls their role; in the settings view the controls
moved out of sight must not be showing. With --language the program runs in that language
(LANGUAGE=xx) and every name must be its translation from the .ts file.

    accessibility_test.py --program build/default/app/vellumo --source-dir . [--language de]
"""

import argparse
import importlib.util
import os
import shutil
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
_spec = importlib.util.spec_from_file_location("user_road", os.path.join(HERE, "user_road_test.py"))
road = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(road)

Failure = road.RoadFailure

# Roles that are controls: each must have a name.
CONTROL_ROLES = {"push button", "toggle button", "radio button", "check box", "page tab", "list",
                 "list item", "text", "password text", "spin button", "combo box", "slider",
                 "progress bar", "menu item", "entry"}


class Translations:
    """The program's texts in one language, from its .ts file (English: the texts themselves)."""

    def __init__(self, source_dir, language):
        self.table = {}
        if language in (None, "en"):
            return
        path = os.path.join(source_dir, "res", "translations", "vellumo_%s.ts" % language)
        for context in ET.parse(path).getroot().iter("context"):
            name = context.findtext("name", "")
            for message in context.iter("message"):
                # Known by its words without the mnemonic mark, as the names read.
                source = message.findtext("source", "").replace("&", "")
                self.table[(name, source)] = message.findtext("translation", "")

    def __call__(self, context, english):
        text = self.table.get((context, english), english) or english
        # Accessible names carry no mnemonic marks.
        return text.replace("&&", "\0").replace("&", "").replace("\0", "&")


class Session:
    def __init__(self, args):
        self.args = args
        self.workdir = tempfile.mkdtemp(prefix="vellumo-a11y-")
        self.display = road.Display(self.workdir)
        self.bus = None
        self.program = None
        self.tr = Translations(args.source_dir, args.language)
        self.failures = []
        self.home = os.path.join(self.workdir, "home")
        self.sane = os.path.join(self.workdir, "sane")
        for d in (self.home, os.path.join(self.home, "Documents"), self.sane,
                  os.path.join(self.home, ".config", "Brackwin"), os.path.join(self.workdir, "tmp"),
                  os.path.join(self.workdir, "run")):
            os.makedirs(d, exist_ok=True)
        os.chmod(os.path.join(self.workdir, "run"), 0o700)

    # -- set-up

    def start_bus(self):
        self.bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                                    stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                    env=self.display.env)
        address = self.bus.stdout.readline().decode().strip()
        if not address:
            raise Failure("the D-Bus session did not start")
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = address
        os.environ["DISPLAY"] = self.display.name
        os.environ.pop("XAUTHORITY", None)

    def write_scanner(self):
        # The test scanner, reading in small slices with a pause each: a page takes some ten
        # seconds, the time the activity dialog is read in (in an unoptimised build too).
        with open(os.path.join(self.args.source_dir, "res", "sane", "test.conf")) as f:
            conf = f.read()
        for key, value in (("read-limit", "true"), ("read-limit-size", "2048"),
                           ("read-delay", "true"), ("read-delay-duration", "100000")):
            conf = "\n".join("%s %s" % (key, value) if line.split(" ")[0] == key else line
                             for line in conf.split("\n"))
        with open(os.path.join(self.sane, "test.conf"), "w") as f:
            f.write(conf)
        with open(os.path.join(self.sane, "dll.conf"), "w") as f:
            f.write("test\n")

    def write_settings(self):
        settings = [("Preview", "1"), ("ADF", "1"), ("nType", "1"), ("ResGrey", "50"),
                    ("CurrentDevice", "test:0"), ("ViaSMTP", "1"), ("SMTP Server", "127.0.0.1"),
                    ("SMTP Port", "9"), ("SMTP Email address", "scanner@example.org")]
        with open(os.path.join(self.home, ".config", "Brackwin", "Vellumo.conf"), "w") as f:
            f.write("[Settings]\n")
            for name, value in settings:
                f.write("%s=%s\n" % (road.ini_key(name), value))

    def start_program(self):
        env = dict(self.display.env)
        for name in ("QT_QPA_PLATFORM", "SESSION_MANAGER", "VELLUMO_QUIT_AFTER_MS",
                     "XDG_CURRENT_DESKTOP", "QT_SCALE_FACTOR", "LANGUAGE", "LC_ALL", "LC_MESSAGES",
                     "LANG"):
            env.pop(name, None)
        env.update({
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
            "XDG_RUNTIME_DIR": os.path.join(self.workdir, "run"),
            "TMPDIR": os.path.join(self.workdir, "tmp"),
            "SANE_CONFIG_DIR": self.sane,
            "CUPS_SERVER": os.path.join(self.workdir, "no-cups-here.sock"),
            "DBUS_SESSION_BUS_ADDRESS": os.environ["DBUS_SESSION_BUS_ADDRESS"],
            # Qt's bridge to AT-SPI, on although no screen reader asked for it.
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "LANG": "C.UTF-8",
        })
        if self.args.language:
            env["LANGUAGE"] = self.args.language
        out = open(os.path.join(self.workdir, "program-output.txt"), "wb")
        self.program = subprocess.Popen([self.args.program], env=env, cwd=self.workdir,
                                        stdout=out, stderr=out)

    # -- AT-SPI

    def wait(self, what, predicate, timeout=30):
        limit = time.monotonic() + timeout
        while True:
            try:
                value = predicate()
            except Exception:  # an object vanishing under the walk: look again
                value = None
            if value:
                return value
            if self.program.poll() is not None:
                raise Failure("the program ended (%s) while waiting for %s"
                              % (self.program.returncode, what))
            if time.monotonic() > limit:
                raise Failure("timed out waiting for %s" % what)
            time.sleep(0.05)

    def application(self):
        desktop = self.pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name.lower() == "vellumo":
                return app
        return None

    def windows(self):
        app = self.application()
        if app is None:
            return []
        found = []
        for i in range(app.childCount):
            window = app.getChildAtIndex(i)
            if window is not None and self.showing(window):
                found.append(window)
        return found

    def showing(self, node):
        return node.getState().contains(self.pyatspi.STATE_SHOWING)

    def window(self, title, timeout=30):
        return self.wait("the window %r" % title,
                         lambda: next((w for w in self.windows() if w.name == title), None),
                         timeout)

    def walk(self, node, only_showing=True):
        """Every node under `node` (itself included) as (node, role, name, states)."""
        nodes = []
        stack = [node]
        while stack:
            current = stack.pop()
            if current is None:
                continue
            if only_showing and current is not node and not self.showing(current):
                continue
            states = current.getState()
            nodes.append((current, current.getRoleName(), current.name, states))
            for i in range(current.childCount - 1, -1, -1):
                stack.append(current.getChildAtIndex(i))
        return nodes

    def find(self, root, role, name):
        for node, r, n, _ in self.walk(root):
            if r == role and n == name:
                return node
        return None

    def act(self, root, role, name):
        node = self.wait("%s %r" % (role, name), lambda: self.find(root, role, name), 10)
        action = node.queryAction()
        if action.nActions < 1:
            raise Failure("%s %r offers no action" % (role, name))
        action.doAction(0)

    # -- the checks

    def check(self, view, root, expected, not_showing=()):
        """Every control under `root` has a name; `expected` lists (role, English name, context)
        that must be there; `not_showing` names controls that must not be showing."""
        nodes = self.walk(root)
        controls = [(r, n) for _, r, n, _ in nodes if r in CONTROL_ROLES]
        for role, name in controls:
            if not name.strip():
                self.failures.append("%s: a %s without a name" % (view, role))
        for role, english, context in expected:
            name = self.tr(context, english)
            if not any(r == role and n == name for r, n in controls):
                roles = sorted({r for r, n in controls if n == name})
                self.failures.append("%s: no %s named %r%s" % (
                    view, role, name, " (found as %s)" % ", ".join(roles) if roles else ""))
        every = self.walk(root, only_showing=False)
        for role, english, context in not_showing:
            name = self.tr(context, english)
            for _, r, n, states in every:
                if r == role and n == name and states.contains(self.pyatspi.STATE_SHOWING):
                    self.failures.append("%s: %s %r is out of sight but showing" % (view, role, name))
        print("%s: %d controls, all named%s" % (view, len(controls),
                                                 "" if not self.failures else " (see failures)"),
              flush=True)

    def run(self):
        self.display.start()
        self.start_bus()
        import pyatspi  # connects to the session bus named in the environment
        self.pyatspi = pyatspi
        self.write_scanner()
        self.write_settings()
        self.start_program()
        tr = self.tr
        main = self.window("Vellumo")
        # The scanners are looked for in the background.
        time.sleep(0.5)

        home_controls = [
            ("page tab", "HOME", "Command"), ("page tab", "SETTINGS", "Command"),
            ("list", "Pages", "CVellumoDlg"),
            ("push button", "SCAN PAGE", "Command"), ("push button", "LOAD PAGE", "Command"),
            ("push button", "MAIL AS PDF", "Command"), ("push button", "SAVE AS PDF", "Command"),
            ("push button", "ABOUT", "Command"), ("push button", "HELP", "Command"),
            ("radio button", "Scan in black and white", "Command"),
            ("radio button", "Scan in grey scales", "Command"),
            ("radio button", "Scan in color", "Command"),
            ("radio button", "Brightness: normal", "Command"),
            ("radio button", "A4", "Command"), ("radio button", "Letter", "Command"),
            ("check box", "Show scan result before saving it", "Command"),
            ("check box", "Disable autofeeder", "Command"),
            ("check box", "Enable duplex scanning", "Command"),
        ]
        self.check("home view", main, home_controls)

        self.act(main, "page tab", tr("Command", "SETTINGS"))
        self.wait("the General page", lambda: self.find(main, "push button",
                                                          tr("CTabGeneralDlg", "Select device")))
        self.check("General page", main, [
            ("page tab", "General", "Command"), ("page tab", "Email", "Command"),
            ("push button", "Select device", "CTabGeneralDlg"),
            ("radio button", "Scan in color", "CTabGeneralDlg"),
            ("radio button", "Brightness: darkest", "CTabGeneralDlg"),
            ("radio button", "A3", "CTabGeneralDlg"),
            ("text", "Resolution in grey scales:", "CTabGeneralDlg"),
            ("check box", "Make log file", "CTabGeneralDlg"),
            ("push button", "Reset to factory defaults", "CTabGeneralDlg"),
        ], not_showing=[("push button", "SCAN PAGE", "Command"), ("list", "Pages", "CVellumoDlg"),
                        ("push button", "MAIL AS PDF", "Command")])

        self.act(main, "page tab", tr("Command", "Email"))
        self.wait("the Email page", lambda: self.find(main, "push button",
                                                        tr("CTabEmailDlg", "Send test email")))
        self.check("Email page", main, [
            ("check box", "Send email via SMTP server", "CTabEmailDlg"),
            ("text", "Port:", "CTabEmailDlg"), ("password text", "Password:", "CTabEmailDlg"),
        ])
        self.act(main, "page tab", tr("Command", "HOME"))
        self.wait("the home view", lambda: self.find(main, "push button",
                                                       tr("Command", "SCAN PAGE")))

        # SCAN PAGE: the activity dialog while the page is read.
        before = set(id(w) for w in self.windows())
        self.act(main, "push button", tr("Command", "SCAN PAGE"))

        def activity():
            for w in self.windows():
                if w.name == "Vellumo" and self.find(w, "push button", tr("CActivityDialog",
                                                                         "Cancel")):
                    return w
            return None
        dialog = self.wait("the activity dialog", activity, 20)
        self.check("activity dialog", dialog, [("push button", "Cancel", "CActivityDialog")])
        description = dialog.description
        if not description.strip():
            self.failures.append("activity dialog: its status is not announced (no description)")
        preview = self.window(tr("CPreviewDlg", "Vellumo - Scanned image preview"), 60)
        self.check("preview dialog", preview, [
            ("push button", "OK", "CPreviewDlg"), ("push button", "Discard", "CPreviewDlg"),
            ("push button", "Rotate left", "CPreviewDlg"),
            ("push button", "Invert image", "CPreviewDlg"),
        ])
        self.act(preview, "push button", tr("CPreviewDlg", "OK"))
        self.wait("the scanned page in the list",
                  lambda: any(r == "list item" and n.startswith(tr("CPageView", "Page %1: %2")
                                                                .split("%1")[0])
                              for _, r, n, _ in self.walk(main)), 30)
        items = [n for _, r, n, _ in self.walk(main) if r == "list item"]
        want = tr("CPageView", "Page %1: %2").replace("%1", "1").replace(
            "%2", tr("CPageView", "Scanned"))
        if want not in items:
            self.failures.append("page list: no entry %r among %r" % (want, items))
        del before

        self.act(main, "push button", tr("Command", "MAIL AS PDF"))
        send = self.window(tr("CSendMailDlg", "Vellumo - Send by email"), 60)
        self.check("send-mail dialog", send, [
            ("text", "To:", "CSendMailDlg"), ("text", "Subject:", "CSendMailDlg"),
            ("push button", "Send mail", "CSendMailDlg"), ("push button", "Cancel", "CSendMailDlg"),
        ])
        self.act(send, "push button", tr("CSendMailDlg", "Cancel"))

        if self.failures:
            raise Failure("\n  ".join(["%d accessibility fault(s):" % len(self.failures)]
                                      + self.failures))

    def close(self):
        road.stop_process(self.program, "vellumo")
        road.stop_process(self.bus, "dbus-daemon")
        self.display.stop()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--source-dir", required=True)
    parser.add_argument("--language")
    parser.add_argument("--keep", action="store_true")
    args = parser.parse_args()
    args.program = os.path.abspath(args.program)
    args.source_dir = os.path.abspath(args.source_dir)
    session = Session(args)
    ok = False
    try:
        session.run()
        ok = True
        print("every window read: every control named, with its role")
    except Failure as failure:
        print("FAILED: %s" % failure)
        if session.failures and not str(failure).endswith(session.failures[-1]):
            print("  " + "\n  ".join(session.failures))
        print("program output and screenshots: %s" % session.workdir)
        try:
            session.display.screenshot(os.path.join(session.workdir, "failure.png"))
        except Exception:
            pass
    finally:
        session.close()
        if ok and not args.keep:
            shutil.rmtree(session.workdir, ignore_errors=True)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
