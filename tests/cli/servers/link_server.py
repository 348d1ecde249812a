#!/usr/bin/env python3
"""A web server for the link check's tests, on loopback only.

Listens on 127.0.0.1, 127.0.0.2 and 127.0.0.3 (three "hosts") on one port,
writes that port to PORT_FILE, then says "ready" on standard error. Each
request is logged to LOG_FILE as "SECONDS HOST METHOD PATH START|END [USER-AGENT]" lines.
It stops by itself: when STOP_FILE appears, after MAX_REQUESTS requests, or
after MAX_SECONDS, whichever comes first.

usage: link_server.py PORT_FILE LOG_FILE STOP_FILE [MAX_REQUESTS] [MAX_SECONDS]
"""
import http.server
import os
import socket
import socketserver
import struct
import sys
import threading
import time

HOSTS = ["127.0.0.1", "127.0.0.2", "127.0.0.3"]
port_file, log_file, stop_file = sys.argv[1:4]
max_requests = int(sys.argv[4]) if len(sys.argv) > 4 else 400
max_seconds = float(sys.argv[5]) if len(sys.argv) > 5 else 50.0
started = time.monotonic()
lock = threading.Lock()
counts = {}
total = [0]
stop = threading.Event()
log = open(log_file, "a", buffering=1)


def note(host, method, path, what, agent=""):
    with lock:
        log.write("%.3f %s %s %s %s %s\n" % (time.monotonic() - started, host, method, path, what, agent))


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def answer(self, status, headers=(), body=b""):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def handle_one(self):
        host = self.server.server_address[0]
        path = self.path.split("?")[0]
        with lock:
            total[0] += 1
            if total[0] >= max_requests:
                stop.set()
            key = (host, path)
            nth = counts.get(key, 0)
            counts[key] = nth + 1
        note(host, self.command, path, "START", self.headers.get("User-Agent", "") +
             (" COOKIE" if "Cookie" in self.headers else ""))
        try:
            self.route(host, path, nth)
        finally:
            note(host, self.command, path, "END")

    do_HEAD = do_GET = handle_one

    def route(self, host, path, nth):
        port = self.server.server_address[1]
        head = self.command == "HEAD"
        if path in ("/ok", "/"):
            return self.answer(200, body=b"fine")
        if path.startswith("/delay/"):
            time.sleep(min(float(path[7:]), 2.0))
            return self.answer(200)
        if path in ("/404", "/410", "/500", "/403"):
            return self.answer(int(path[1:]))
        redirects = {"/p1": (301, "/p2"), "/p2": (308, "/ok"), "/t1": (302, "/ok"), "/t7": (307, "/ok"),
                     "/loop": (302, "/loop2"), "/loop2": (302, "/loop"), "/gone": (301, "/"),
                     "/cross": (301, "http://127.0.0.2:%d/ok" % port)}
        if path in redirects:
            status, to = redirects[path]
            return self.answer(status, [("Location", to)])
        if path == "/429-once":
            return self.answer(429, [("Retry-After", "1")]) if nth == 0 else self.answer(200)
        if path == "/head-405":
            return self.answer(405 if head else 200)
        if path == "/head-404":
            return self.answer(404 if head else 200)
        if path == "/slow":
            stop.wait(3.0)
            return self.answer(200)
        if path == "/trickle":
            self.wfile.write(b"HTTP/1.1 200 OK\r\n")
            for _ in range(4):
                if stop.wait(1.0):
                    break
                self.wfile.write(b"X")
                self.wfile.flush()
            self.close_connection = True
            return
        if path == "/reset":
            self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            self.close_connection = True
            self.connection.close()
            return
        return self.answer(404)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def bind_all():
    for _ in range(20):
        first = Server((HOSTS[0], 0), Handler)
        port = first.server_address[1]
        servers = [first]
        try:
            for h in HOSTS[1:]:
                servers.append(Server((h, port), Handler))
            return port, servers
        except OSError:
            for s in servers:
                s.server_close()
    sys.exit("link_server: no free port on all three addresses")


port, servers = bind_all()
for s in servers:
    threading.Thread(target=s.serve_forever, kwargs={"poll_interval": 0.05}, daemon=True).start()
with open(port_file + ".tmp", "w") as f:
    f.write(str(port))
os.replace(port_file + ".tmp", port_file)
sys.stderr.write("ready\n")
sys.stderr.flush()
while not stop.wait(0.05):
    if os.path.exists(stop_file) or time.monotonic() - started > max_seconds:
        break
stop.set()
for s in servers:
    s.shutdown()
    s.server_close()
