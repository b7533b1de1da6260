#!/usr/bin/python3
"""A small SMTP server for the mail tests, built on aiosmtpd.

It listens on 127.0.0.1 on a free port, writes that port into --port-file once it accepts
connections, stores every accepted message as NNN.eml (plus NNN.env with the envelope) in
--store, and appends every command it sees to --store/commands.log so the tests can tell
what the client sent (for example that no AUTH was ever tried).

Modes (combinable): --auth (announce and require AUTH PLAIN/LOGIN with --user/--password),
--starttls CERT KEY (offer STARTTLS), --implicit-tls CERT KEY (TLS from the first byte),
--drop-in-data (drop the connection after the first piece of the message data), --host ADDRESS
(listen there instead), --smtputf8 (offer SMTPUTF8).
"""
import argparse
import asyncio
import os
import signal
import ssl
import sys

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


def parse_args():
    p = argparse.ArgumentParser()
    p.add_argument("--port-file", required=True)
    p.add_argument("--store", required=True)
    p.add_argument("--auth", action="store_true")
    p.add_argument("--user", default="alice")
    p.add_argument("--password", default="secret")
    p.add_argument("--starttls", nargs=2, metavar=("CERT", "KEY"))
    p.add_argument("--implicit-tls", nargs=2, metavar=("CERT", "KEY"))
    p.add_argument("--drop-in-data", action="store_true")
    p.add_argument("--host", default="127.0.0.1")
    p.add_argument("--smtputf8", action="store_true")
    return p.parse_args()


ARGS = parse_args()


def record(line):
    with open(os.path.join(ARGS.store, "commands.log"), "a") as f:
        f.write(line + "\n")


class Store:
    def __init__(self):
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(ARGS.store, "%03d" % self.count)
        with open(base + ".eml.part", "wb") as f:
            f.write(envelope.original_content or envelope.content)
        os.rename(base + ".eml.part", base + ".eml")
        with open(base + ".env", "w") as f:
            f.write("from " + (envelope.mail_from or "") + "\n")
            for rcpt in envelope.rcpt_tos:
                f.write("to " + rcpt + "\n")
        return "250 Message accepted for delivery"


def authenticator(server, session, envelope, mechanism, auth_data):
    ok = (isinstance(auth_data, LoginPassword)
          and auth_data.login.decode() == ARGS.user
          and auth_data.password.decode() == ARGS.password)
    record("AUTH-ATTEMPT %s %s %s" % (mechanism, auth_data.login.decode(),
                                      "ok" if ok else "bad"))
    if ok:
        return AuthResult(success=True)
    return AuthResult(success=False, handled=False,
                      message="535 5.7.8 Authentication credentials invalid")


class TestSMTP(SMTP):
    async def smtp_EHLO(self, arg):
        record("EHLO " + arg + (" (tls)" if self._tls_protocol or ARGS.implicit_tls else ""))
        return await super().smtp_EHLO(arg)

    async def smtp_STARTTLS(self, arg):
        record("STARTTLS")
        return await super().smtp_STARTTLS(arg)

    async def smtp_AUTH(self, arg):
        record("AUTH " + arg.split(" ")[0])
        return await super().smtp_AUTH(arg)

    async def smtp_MAIL(self, arg):
        record("MAIL " + arg)
        return await super().smtp_MAIL(arg)

    async def smtp_RCPT(self, arg):
        record("RCPT " + arg)
        return await super().smtp_RCPT(arg)

    async def smtp_QUIT(self, arg):
        record("QUIT")
        return await super().smtp_QUIT(arg)

    async def smtp_DATA(self, arg):
        record("DATA")
        if not ARGS.drop_in_data:
            return await super().smtp_DATA(arg)
        if not self.envelope.rcpt_tos:
            return await self.push("503 Error: need RCPT command")
        await self.push("354 End data with <CR><LF>.<CR><LF>")
        # Take the first piece of the message, then vanish without a reply.
        await self._reader.read(4096)
        record("DROPPED")
        self.transport.abort()


def tls_context(pair):
    ctx = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    ctx.load_cert_chain(pair[0], pair[1])
    return ctx


async def main():
    loop = asyncio.get_running_loop()
    handler = Store()
    starttls = tls_context(ARGS.starttls) if ARGS.starttls else None
    implicit = tls_context(ARGS.implicit_tls) if ARGS.implicit_tls else None

    def factory():
        kwargs = dict(hostname="test.smtp.local", data_size_limit=None,
                      tls_context=starttls, loop=loop, enable_SMTPUTF8=ARGS.smtputf8)
        if ARGS.auth:
            kwargs.update(authenticator=authenticator, auth_required=True,
                          auth_require_tls=False)
        return TestSMTP(handler, **kwargs)

    server = await loop.create_server(factory, host=ARGS.host, port=0, ssl=implicit)
    port = server.sockets[0].getsockname()[1]
    tmp = ARGS.port_file + ".part"
    with open(tmp, "w") as f:
        f.write("%d\n" % port)
    os.rename(tmp, ARGS.port_file)
    stop = loop.create_future()
    loop.add_signal_handler(signal.SIGTERM, stop.set_result, None)
    await stop
    server.close()


if __name__ == "__main__":
    import warnings
    warnings.simplefilter("ignore")
    import logging
    logging.disable(logging.CRITICAL)
    asyncio.run(main())
    sys.exit(0)
