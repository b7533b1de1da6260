"""An aiosmtpd handler that keeps every message it accepts as a file in one folder.

    python3 -m aiosmtpd -n -l 127.0.0.1:PORT -c smtp_folder_handler.FolderHandler FOLDER

Each accepted message becomes FOLDER/message-N.eml (the data as received) with its envelope
beside it in FOLDER/message-N.json. Both are written under a temporary name and then renamed,
so a reader polling the folder never sees half a message.
"""

import json
import os


class FolderHandler:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0
        os.makedirs(folder, exist_ok=True)

    @classmethod
    def from_cli(cls, parser, *args):
        if len(args) != 1:
            parser.error("FolderHandler needs the folder to write the messages to")
        return cls(args[0])

    def _write(self, name, data):
        path = os.path.join(self.folder, name)
        with open(path + ".part", "wb") as out:
            out.write(data)
        os.replace(path + ".part", path)

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        stem = "message-%d" % self.count
        envelope_info = {
            "mail_from": envelope.mail_from,
            "rcpt_tos": list(envelope.rcpt_tos),
            "peer": list(session.peer) if session.peer else None,
        }
        # The envelope first: a reader waits for the message file and then finds both.
        self._write(stem + ".json", json.dumps(envelope_info).encode())
        self._write(stem + ".eml", envelope.original_content or envelope.content)
        return "250 Message accepted for delivery"
