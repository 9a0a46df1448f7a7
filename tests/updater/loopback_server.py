#!/usr/bin/python3
"""Loopback FTP and HTTP servers for the updater's tests, on 127.0.0.1 and a port the system picks.

    loopback_server.py ftp  --root DIR --user U --password P [--no-mlsd]
    loopback_server.py http --root DIR [--user U --password P] [--chunked | --no-length]
    loopback_server.py silent --root DIR   (takes connections and never answers)

Prints "PORT <n>" once listening. Files whose names begin with "cut" end after 3000 bytes with the
connection dropped; with "stall" the server sends 3000 bytes and then goes quiet. Over HTTP the
path "/redirect-ftp/<name>" answers with a redirect to an ftp:// address, and "/echo-headers"
with the agent the client named and whether it sent credentials; with --chunked files are sent in
chunks and no reply names a length; with --no-length no reply names a length either and a file ends
where the server closes the connection, so a "cut" file is 3000 bytes that end without an error,
and a name beginning with "endless" streams bytes until the client closes (or ENDLESS_FOR seconds
have passed). Over FTP a folder
"readonly" in the root takes no uploads. Nothing is logged.
"""
import argparse
import base64
import http.server
import os
import signal
import sys
import time

CUT_AT = 3000
ENDLESS_FOR = 20


def misbehaviour(path):
    name = os.path.basename(path)
    if name.startswith("cut"):
        return "cut"
    if name.startswith("stall"):
        return "stall"
    return None


def run_ftp(args):
    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.filesystems import AbstractedFS
    from pyftpdlib.handlers import FTPHandler
    from pyftpdlib.servers import ThreadedFTPServer
    import logging

    logging.disable(logging.CRITICAL)

    class Wrapped:
        def __init__(self, f, kind):
            self._f = f
            self._kind = kind
            self._sent = 0
            self.name = f.name
            self.closed = False

        def read(self, n):
            if self._sent >= CUT_AT:
                if self._kind == "cut":
                    raise OSError("connection dropped")
                for _ in range(400):
                    time.sleep(0.05)
                return b""
            data = self._f.read(min(n, CUT_AT - self._sent))
            self._sent += len(data)
            return data

        def close(self):
            self.closed = True
            self._f.close()

        def __getattr__(self, attr):
            return getattr(self._f, attr)

    class FS(AbstractedFS):
        def open(self, filename, mode):
            f = super().open(filename, mode)
            kind = misbehaviour(filename)
            if kind and "r" in mode:
                return Wrapped(f, kind)
            return f

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    readonly = os.path.join(args.root, "readonly")
    if os.path.isdir(readonly):
        authorizer.override_perm(args.user, readonly, perm="elr", recursive=True)

    class Handler(FTPHandler):
        pass

    Handler.authorizer = authorizer
    Handler.abstracted_fs = FS
    Handler.banner = "loopback"
    Handler.use_sendfile = False
    Handler.passive_ports = None
    if args.no_mlsd:
        Handler.proto_cmds = {k: v for k, v in FTPHandler.proto_cmds.items() if k not in ("MLSD", "MLST")}
    server = ThreadedFTPServer(("127.0.0.1", 0), Handler)
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever()


def run_http(args):
    root = args.root
    expected = None
    if args.user:
        expected = "Basic " + base64.b64encode(("%s:%s" % (args.user, args.password)).encode()).decode()

    class Handler(http.server.SimpleHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def __init__(self, *a, **kw):
            super().__init__(*a, directory=root, **kw)

        def log_message(self, *a):
            pass

        def authorised(self):
            if expected is None or self.headers.get("Authorization") == expected:
                return True
            self.send_response(401)
            self.send_header("WWW-Authenticate", 'Basic realm="loopback"')
            self.send_header("Content-Length", "0")
            self.end_headers()
            return False

        def send_chunked(self, with_body):
            path = self.translate_path(self.path)
            if not os.path.isfile(path):
                self.send_error(404)
                return
            with open(path, "rb") as f:
                data = f.read()
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Last-Modified", self.date_time_string(int(os.path.getmtime(path))))
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            if not with_body:
                return
            for i in range(0, len(data), 1000):
                piece = data[i:i + 1000]
                self.wfile.write(b"%x\r\n" % len(piece) + piece + b"\r\n")
            self.wfile.write(b"0\r\n\r\n")
            self.wfile.flush()

        # A reply that names no length and ends where the connection closes.
        def send_unsized(self, with_body):
            endless = os.path.basename(self.path).startswith("endless")
            path = self.translate_path(self.path)
            if not endless and not os.path.isfile(path):
                self.send_error(404)
                return
            self.close_connection = True
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            if not endless:
                self.send_header("Last-Modified", self.date_time_string(int(os.path.getmtime(path))))
            self.send_header("Connection", "close")
            self.end_headers()
            if not with_body:
                return
            if not endless:
                with open(path, "rb") as f:
                    data = f.read()
                self.wfile.write(data[:CUT_AT] if misbehaviour(self.path) == "cut" else data)
                self.wfile.flush()
                return
            block = b"\x5a" * 65536
            deadline = time.monotonic() + ENDLESS_FOR
            try:
                while time.monotonic() < deadline:
                    self.wfile.write(block)
            except OSError:
                pass

        def do_HEAD(self):
            if not self.authorised():
                return
            if args.no_length:
                self.send_unsized(False)
                return
            if args.chunked:
                self.send_chunked(False)
                return
            super().do_HEAD()

        def do_GET(self):
            if not self.authorised():
                return
            if self.path == "/echo-headers":
                body = b"agent=" + self.headers.get("User-Agent", "").encode("latin-1") + b"\n"
                body += b"auth=" + (b"yes" if "Authorization" in self.headers else b"no") + b"\n"
                self.send_response(200)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)
                return
            if self.path.startswith("/redirect-ftp/"):
                self.send_response(302)
                self.send_header("Location", "ftp://127.0.0.1:9/" + self.path.split("/")[-1])
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
            if args.no_length:
                self.send_unsized(True)
                return
            kind = misbehaviour(self.path)
            if kind is None and args.chunked:
                self.send_chunked(True)
                return
            if kind is None:
                super().do_GET()
                return
            path = self.translate_path(self.path)
            with open(path, "rb") as f:
                data = f.read()
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            self.wfile.write(data[:CUT_AT])
            self.wfile.flush()
            if kind == "stall":
                time.sleep(20)
            self.close_connection = True

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    print("PORT %d" % server.server_address[1], flush=True)
    server.serve_forever()


def run_silent(args):
    import socket
    import threading

    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(16)
    print("PORT %d" % listener.getsockname()[1], flush=True)
    held = []
    while True:
        conn, _ = listener.accept()
        held.append(conn)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("kind", choices=["ftp", "http", "silent"])
    p.add_argument("--root", required=True)
    p.add_argument("--user", default="")
    p.add_argument("--password", default="")
    p.add_argument("--no-mlsd", action="store_true")
    p.add_argument("--chunked", action="store_true")
    p.add_argument("--no-length", action="store_true")
    args = p.parse_args()
    signal.signal(signal.SIGTERM, lambda *_: os._exit(0))
    try:
        {"ftp": run_ftp, "http": run_http, "silent": run_silent}[args.kind](args)
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
