#!/usr/bin/python3
"""Parses a stored message with Python's email package (an independent MIME reader) and prints
what the tests compare, one item per line:
  header <name> <decoded value>
  body <hex of the decoded text body in UTF-8>
  attachment <decoded file name> <path where its decoded bytes were written>
  defects <number of parser defects>
"""
import sys
from email import policy
from email.parser import BytesParser

path, outdir = sys.argv[1], sys.argv[2]
with open(path, "rb") as f:
    msg = BytesParser(policy=policy.default).parse(f)

defects = len(msg.defects)
for name in msg.keys():
    print("header", name, str(msg[name]).replace("\n", " "))
count = 0
for part in msg.walk():
    defects += len(part.defects)
    if part.is_multipart():
        continue
    if part.get_content_disposition() == "attachment":
        count += 1
        target = "%s/attachment-%d" % (outdir, count)
        with open(target, "wb") as out:
            out.write(part.get_payload(decode=True))
        print("attachment", part.get_filename(), target)
    elif part.get_content_type() == "text/plain":
        print("body", part.get_content().encode("utf-8").hex())
print("defects", defects)
