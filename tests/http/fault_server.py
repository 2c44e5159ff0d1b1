#!/usr/bin/env python3
"""HTTP server for the faults nginx will not produce, serving files of one root.

Paths: /<mode>/<path below root>. Modes:
  ignore-range  always 200 with the whole file (Range is ignored)
  always-206    206 with the whole file, even to a plain request
  cut           announces the whole length, sends 40960 bytes, closes
  short         announces 100 bytes more than it sends, then closes
  no-length     whole file without Content-Length, end of body = close
  status-<n>    an HTML error page with status n
Writes its port to <port file> once it listens. Runs until killed.
"""
import http.server
import os
import socketserver
import sys


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    root = "."

    def log_message(self, *args):
        pass

    def do_GET(self):
        parts = self.path.lstrip("/").split("/", 1)
        mode = parts[0]
        rel = parts[1] if len(parts) > 1 else ""
        if mode.startswith("status-"):
            body = b"<html><body>error</body></html>"
            self.send_response(int(mode[7:]))
            self.send_header("Content-Length", str(len(body)))
            self.send_header("Connection", "close")
            self.end_headers()
            self.wfile.write(body)
            return
        path = os.path.join(self.root, *rel.split("/"))
        try:
            with open(path, "rb") as f:
                data = f.read()
        except OSError:
            self.send_error(404)
            return
        if mode == "ignore-range":
            self.send_whole(200, data)
        elif mode == "always-206":
            self.send_response(206)
            self.send_header("Content-Range", "bytes 0-%d/%d" % (max(len(data) - 1, 0), len(data)))
            self.send_header("Content-Length", str(len(data)))
            self.send_header("Connection", "close")
            self.end_headers()
            self.wfile.write(data)
        elif mode == "cut":
            self.send_response(200)
            self.send_header("Content-Length", str(len(data)))
            self.send_header("Connection", "close")
            self.end_headers()
            self.wfile.write(data[:40960])
            self.wfile.flush()
            self.close_connection = True
        elif mode == "short":
            self.send_response(200)
            self.send_header("Content-Length", str(len(data) + 100))
            self.send_header("Connection", "close")
            self.end_headers()
            self.wfile.write(data)
            self.wfile.flush()
            self.close_connection = True
        elif mode == "no-length":
            self.protocol_version = "HTTP/1.0"
            self.send_response(200)
            self.send_header("Connection", "close")
            self.end_headers()
            self.wfile.write(data)
            self.close_connection = True
        else:
            self.send_error(400)

    def send_whole(self, code, data):
        self.send_response(code)
        self.send_header("Content-Length", str(len(data)))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(data)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    Handler.root = sys.argv[1]
    server = Server(("127.0.0.1", 0), Handler)
    with open(sys.argv[2] + ".part", "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(sys.argv[2] + ".part", sys.argv[2])
    server.serve_forever()


if __name__ == "__main__":
    main()
