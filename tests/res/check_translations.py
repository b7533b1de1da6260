#!/usr/bin/env python3
"""Fails on any translation that is not finished.

Each .ts file must hold a finished translation for every text the program shows: no entry
marked unfinished, vanished or obsolete, none empty, each with the same placeholders (%1, %2 …)
as its English text and at most one mnemonic (&). With --lupdate and --sources, lupdate reads
the program's sources into copies of the files first, so a text added to the program but not
yet to a .ts file is found as well.

    check_translations.py [--lupdate LUPDATE --sources LIST_FILE] FILE.ts...
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

PLACEHOLDER = re.compile(r"%L?\d+")


def mnemonics(text):
    # "&&" is a literal ampersand, "&amp;" never reaches here (the parser resolved it).
    return len(re.findall(r"&(?!&)\S", text.replace("&&", "")))


def problems_of(path):
    found = []
    root = ET.parse(path).getroot()
    for context in root.iter("context"):
        name = context.findtext("name", "")
        for message in context.iter("message"):
            source = message.findtext("source", "")
            translation = message.find("translation")
            where = "%s: %s: %r" % (os.path.basename(path), name, source[:70])
            if translation is None:
                found.append(where + ": no translation")
                continue
            kind = translation.get("type", "")
            text = translation.text or ""
            if kind in ("unfinished", "vanished", "obsolete"):
                found.append("%s: %s" % (where, kind))
            elif not text.strip():
                found.append(where + ": empty")
            elif sorted(PLACEHOLDER.findall(source)) != sorted(PLACEHOLDER.findall(text)):
                found.append("%s: placeholders differ in %r" % (where, text[:70]))
            elif mnemonics(text) > 1 or (mnemonics(source) == 1) != (mnemonics(text) == 1):
                found.append("%s: mnemonic (&) differs in %r" % (where, text[:70]))
    return found


def refreshed_copies(files, lupdate, sources, workdir):
    """Copies of `files` into which lupdate has read the sources (nothing removed)."""
    copies = []
    for path in files:
        copy = os.path.join(workdir, os.path.basename(path))
        shutil.copyfile(path, copy)
        copies.append(copy)
    done = subprocess.run([lupdate, "-silent", "-locations", "none", "-no-ui-lines",
                           "@" + sources, "-ts"] + copies,
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120)
    if done.returncode != 0:
        sys.exit("lupdate failed:\n" + done.stdout.decode(errors="replace"))
    return copies


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--lupdate")
    parser.add_argument("--sources")
    parser.add_argument("files", nargs="+")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="vellumo-ts-") as workdir:
        files = args.files
        if args.lupdate and args.sources:
            files = refreshed_copies(files, args.lupdate, args.sources, workdir)
        problems = [p for path in files for p in problems_of(path)]
    for problem in problems:
        print(problem)
    if problems:
        print("%d unfinished or missing translation(s)" % len(problems))
        return 1
    print("%d file(s): every translation finished" % len(files))
    return 0


if __name__ == "__main__":
    sys.exit(main())
