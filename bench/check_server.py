#!/usr/bin/env python3
"""The link check's bench server: HEAD and GET answered 200 after a fixed
delay, on 127.0.0.1 .. 127.0.0.N, one port. Writes the port to PORT_FILE and
stops when STOP_FILE appears or after MAX_SECONDS.

usage: check_server.py PORT_FILE STOP_FILE HOSTS DELAY_SECONDS [MAX_SECONDS]
"""
import http.server
import os
import socketserver
import sys
import threading
import time

port_file, stop_file, hosts, delay = sys.argv[1], sys.argv[2], int(sys.argv[3]), float(sys.argv[4])
max_seconds = float(sys.argv[5]) if len(sys.argv) > 5 else 900


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def answer(self):
        if delay:
            time.sleep(delay)
        self.send_response(200)
        self.send_header("Content-Length", "0")
        self.end_headers()

    do_HEAD = do_GET = answer


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True
    request_queue_size = 128


first = Server(("127.0.0.1", 0), Handler)
port = first.server_address[1]
servers = [first] + [Server(("127.0.0.%d" % h, port), Handler) for h in range(2, hosts + 1)]
for s in servers:
    threading.Thread(target=s.serve_forever, daemon=True).start()
with open(port_file + ".tmp", "w") as f:
    f.write(str(port))
os.replace(port_file + ".tmp", port_file)
started = time.monotonic()
while not os.path.exists(stop_file) and time.monotonic() - started < max_seconds:
    time.sleep(0.1)
