#!/usr/bin/env python3
"""Prints one line per image of a PDF, page by page: the page number, the image's filters and
the SHA-256 of its stream data exactly as stored (qpdf reads the file, not our reader)."""
import base64
import hashlib
import json
import subprocess
import sys

data = subprocess.run(["qpdf", "--json=2", "--json-stream-data=inline", "--decode-level=none",
                       sys.argv[1], "-"], capture_output=True, check=True).stdout
doc = json.loads(data)
objects = doc["qpdf"][1]
for number, page in enumerate(doc["pages"], start=1):
    for image in page["images"]:
        stream = objects["obj:" + image["object"]]["stream"]
        digest = hashlib.sha256(base64.b64decode(stream["data"])).hexdigest()
        filters = ",".join(f.lstrip("/") for f in image["filter"] if f) or "none"
        print(number, filters, digest)
