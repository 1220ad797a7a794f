#!/usr/bin/python3
"""A real SMTP server for the mail tests, on loopback.

Prints the port it listens on as its first line, then stores every message it
accepts as N.json in the folder given: the envelope, the raw bytes and the
headers and body as Python's own mail parser reads them, so that the tests
check the encoding against an independent decoder.
"""
import argparse
import asyncio
import base64
import json
import os
import signal
import ssl
import subprocess
import sys
from email import message_from_bytes, policy

from aiosmtpd.smtp import SMTP, AuthResult


class Sink:
    def __init__(self, folder, answer):
        self.folder = folder
        self.answer = answer
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        if self.answer:
            return self.answer
        message = message_from_bytes(envelope.original_content, policy=policy.default)
        self.count += 1
        record = {
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "authenticated": bool(session.authenticated),
            "tls": session.ssl is not None or server.transport.get_extra_info("ssl_object") is not None,
            "raw": base64.b64encode(envelope.original_content).decode(),
            "headers": [[k, str(v)] for k, v in message.items()],
            "defects": [type(d).__name__ for d in message.defects]
                       + [type(d).__name__ for v in message.values() for d in getattr(v, "defects", ())],
            "body": message.get_content(),
        }
        path = os.path.join(self.folder, "%d.json" % self.count)
        with open(path + ".tmp", "w", encoding="utf-8") as f:
            json.dump(record, f, ensure_ascii=False)
        os.rename(path + ".tmp", path)
        return "250 OK"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--answer", default="", help="answer every DATA with this instead of accepting")
    parser.add_argument("--user", default="")
    parser.add_argument("--password", default="")
    parser.add_argument("--silent", action="store_true", help="accept connections and never answer (a hung server)")
    parser.add_argument("--starttls", action="store_true", help="offer and require STARTTLS")
    parser.add_argument("--tls", action="store_true", help="SMTPS: TLS from the first byte")
    args = parser.parse_args()

    sink = Sink(args.folder, args.answer)

    # A certificate of its own for 127.0.0.1; the tests trust it as FOLDER/cert.pem.
    context = None
    if args.starttls or args.tls:
        cert = os.path.join(args.folder, "cert.pem")
        key = os.path.join(args.folder, "key.pem")
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                        "-days", "1", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"],
                       check=True, capture_output=True)
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(cert, key)

    def authenticate(server, session, envelope, mechanism, auth_data):
        ok = (auth_data.login.decode() == args.user and auth_data.password.decode() == args.password)
        return AuthResult(success=ok, handled=False)

    def factory():
        options = {}
        if args.starttls:
            options.update(tls_context=context, require_starttls=True)
        if args.user:
            options.update(authenticator=authenticate, auth_require_tls=False, auth_required=True)
        return SMTP(sink, **options)

    class Silent(asyncio.Protocol):
        pass

    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)
    server = loop.run_until_complete(
        loop.create_server(Silent if args.silent else factory, "127.0.0.1", args.port, reuse_address=True,
                           ssl=context if args.tls else None))
    print(server.sockets[0].getsockname()[1], flush=True)
    loop.add_signal_handler(signal.SIGTERM, loop.stop)
    loop.add_signal_handler(signal.SIGINT, loop.stop)
    loop.run_forever()
    server.close()


if __name__ == "__main__":
    sys.exit(main())
