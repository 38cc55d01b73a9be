#!/usr/bin/env python3
"""A stand-in music store for the cover-search tests.

Listens on 127.0.0.1 (a free port, printed as the first line on stdout) and
answers as an origin server and as an HTTP proxy alike, so that picture
addresses of any host name ("http://images...") reach it. Every request is
appended to the log file given as the first argument, one line each:
METHOD TAB TARGET TAB HOST TAB CONTENT-TYPE TAB USER-AGENT TAB BODY, with
backslash, tab and line breaks escaped.

Pages are the files of the folder given as the second argument, found by the
whole path with "/" as "_" ("release_B1_front-500"), else by its last part;
a few names behave specially (see Handler.serve), "size-N" answers N bytes. Beside a page NAME, a file
NAME.redirect makes the answer a redirect to the address it holds, and a file
NAME.busy makes the first answer a 503 whose Retry-After it holds, a file
NAME.status gives the status of NAME's answer, and a file NAME.trickle makes
the answer one that never ends, a byte every 0.2 s.

A program that cannot read the server's output or stop it by signal (a Windows
test under Wine) names a port file as the third argument: the port is written
there instead, a request for "__stop__" ends the server, and so does a quiet
spell of IDLE_LIMIT seconds, so that a crashed test leaves no server behind.
"""

import http.server
import os
import socketserver
import sys
import threading
import time
import urllib.parse

LOG_PATH = sys.argv[1]
PAGES = sys.argv[2]
PORT_FILE = sys.argv[3] if len(sys.argv) > 3 else None
IDLE_LIMIT = 300
LOG_LOCK = threading.Lock()
busy_answered = set()
last_request = time.monotonic()


def escape(text):
    return (text.replace("\\", "\\\\").replace("\t", "\\t")
            .replace("\r", "\\r").replace("\n", "\\n"))


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def record(self, body):
        fields = [self.command, self.path, self.headers.get("Host", ""),
                  self.headers.get("Content-Type", ""),
                  self.headers.get("User-Agent", ""),
                  body.decode("latin-1")]
        with LOG_LOCK, open(LOG_PATH, "a", encoding="latin-1") as log:
            log.write("\t".join(escape(f) for f in fields) + "\n")

    def answer(self, status, body, length=None, headers=()):
        self.send_response(status)
        for header in headers:
            self.send_header(*header)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body) if length is None else length))
        self.end_headers()
        self.wfile.write(body)
        self.wfile.flush()

    def serve(self, body):
        global last_request
        last_request = time.monotonic()
        self.record(body)
        path = urllib.parse.urlsplit(self.path).path
        name = path.rstrip("/").rsplit("/", 1)[-1]
        if name == "__stop__" and PORT_FILE:
            self.answer(200, b"")
            os._exit(0)
        elif name == "long":
            self.answer(200, b"x" * 300000)
        elif name == "empty":
            self.answer(200, b"")
        elif name == "missing":
            self.answer(404, b"<html>not here</html>")
        elif name == "slow":
            time.sleep(5)
            self.answer(200, b"late")
        elif name == "cut":
            # Promises more than it sends, then hangs up.
            self.answer(200, b"y" * 100, length=10000)
            self.close_connection = True
        elif name == "trickle":
            self.trickle()
        elif name == "failing":
            self.answer(500, b"\xff\xd8\xff\xe0 an error page, not a picture")
        elif name == "loop":
            self.answer(302, b"", headers=[("Location", self.path)])
        elif name.startswith("size-") and name[5:].isdigit():
            self.answer(200, b"z" * int(name[5:]))
        else:
            self.serve_file(path.strip("/").replace("/", "_"), name)

    def trickle(self):
        # One byte every 0.2 s: never too slow, never done.
        self.answer(200, b"", length=100000)
        try:
            for _ in range(100000):
                self.wfile.write(b"t")
                self.wfile.flush()
                time.sleep(0.2)
        except ConnectionError:
            # The client gave up, as it should.
            self.close_connection = True

    def serve_file(self, *names):
        for name in filter(None, names):
            page = os.path.join(PAGES, name)
            if os.path.isfile(page + ".trickle"):
                self.trickle()
                return
            if os.path.isfile(page + ".redirect"):
                with open(page + ".redirect") as target:
                    self.answer(307, b"", headers=[("Location", target.read().strip())])
                return
            if os.path.isfile(page + ".busy") and name not in busy_answered:
                busy_answered.add(name)
                with open(page + ".busy") as wait:
                    self.answer(503, b"busy", headers=[("Retry-After", wait.read().strip())])
                return
            if os.path.isfile(page):
                status = 200
                if os.path.isfile(page + ".status"):
                    with open(page + ".status") as text:
                        status = int(text.read().strip())
                with open(page, "rb") as source:
                    self.answer(status, source.read())
                return
        self.answer(404, b"")

    def do_GET(self):
        self.serve(b"")

    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0"))
        self.serve(self.rfile.read(length))


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        # A client that hangs up early is part of the tests, not an error.
        if not isinstance(sys.exc_info()[1], ConnectionError):
            super().handle_error(request, client_address)


def main():
    server = Server(("127.0.0.1", 0), Handler)
    port = server.server_address[1]
    if PORT_FILE:
        # Written whole under another name first: the reader polls for it.
        with open(PORT_FILE + ".part", "w") as out:
            out.write("%d\n" % port)
        os.replace(PORT_FILE + ".part", PORT_FILE)
        threading.Thread(target=stop_when_idle, daemon=True).start()
    else:
        # One write, then stdout goes: the test stops reading after the line.
        os.write(1, b"%d\n" % port)
        devnull = os.open(os.devnull, os.O_WRONLY)
        os.dup2(devnull, 1)
    server.serve_forever()


def stop_when_idle():
    while time.monotonic() - last_request < IDLE_LIMIT:
        time.sleep(5)
    os._exit(0)


if __name__ == "__main__":
    main()
