"""Pieces of the end-to-end runs: nginx on a fixed port, an upstream that cuts a file
short once, the updater under Wine and the probe that drives it."""
import http.server
import os
import select
import signal
import socket
import subprocess
import tempfile
import threading
import time


def wait_for_port(port, timeout=10.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        with socket.socket() as s:
            if s.connect_ex(("127.0.0.1", port)) == 0:
                return
        time.sleep(0.05)
    raise RuntimeError("nothing listens on 127.0.0.1:%d" % port)


def port_is_free(port):
    """True when a listener could take the port (connections in TIME_WAIT do not count:
    nginx listens with SO_REUSEADDR)."""
    with socket.socket() as s:
        s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        try:
            s.bind(("127.0.0.1", port))
            return True
        except OSError:
            return False


class Nginx:
    """nginx in the foreground serving `root`; `proxied` maps URL paths to an upstream."""

    def __init__(self, folder, root, port, proxied=None, rate=None, ranges=True):
        self.folder, self.port = folder, port
        os.makedirs(os.path.join(folder, "temp"), exist_ok=True)
        locations = "".join(
            "    location = %s { proxy_pass http://127.0.0.1:%d%s; proxy_buffering off; }\n" % (path, up, path)
            for path, up in (proxied or {}).items())
        limit = "    limit_rate %s;\n" % rate if rate else ""
        if not ranges:
            limit += "    max_ranges 0;\n"  # answers every Range with the whole file (200)
        conf = """daemon off;
master_process off;
worker_processes 1;
pid {d}/nginx.pid;
error_log {d}/error.log;
events {{ worker_connections 64; }}
http {{
  access_log {d}/access.log;
  client_body_temp_path {d}/temp/body;
  proxy_temp_path {d}/temp/proxy;
  fastcgi_temp_path {d}/temp/fastcgi;
  uwsgi_temp_path {d}/temp/uwsgi;
  scgi_temp_path {d}/temp/scgi;
  default_type application/octet-stream;
  server {{
    listen 127.0.0.1:{port};
    root {root};
{limit}{locations}  }}
}}
""".format(d=folder, port=port, root=root, limit=limit, locations=locations)
        self.conf = os.path.join(folder, "nginx.conf")
        with open(self.conf, "w") as f:
            f.write(conf)
        self.process = None

    def __enter__(self):
        # The previous scenario's server may still be on its way out: give it a moment.
        if not wait_until(lambda: port_is_free(self.port), 10):
            raise RuntimeError("port %d, built into the test updater, is taken; reconfigure with "
                               "-DVELMORA_E2E_PORT=<free port>" % self.port)
        self.process = subprocess.Popen(["/usr/sbin/nginx", "-c", self.conf, "-p", self.folder],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for_port(self.port)
        return self

    def __exit__(self, *exc):
        stop(self.process)


def stop(process, grace=10):
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(grace)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait(grace)


def wine_programs(image_name):
    """Linux pids of the programs named `image_name` (case-blind) running in this
    test's Wine prefix; other prefixes on the machine are left alone."""
    prefix = os.environ.get("WINEPREFIX", "").encode()
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/cmdline" % entry, "rb") as f:
                program = f.read().split(b"\0")[0]
            with open("/proc/%s/environ" % entry, "rb") as f:
                environment = f.read().split(b"\0")
        except OSError:
            continue  # gone, or not ours
        name = program.replace(b"\\", b"/").rsplit(b"/", 1)[-1].strip(b'"').lower()
        if name == image_name.lower().encode() and b"WINEPREFIX=" + prefix in environment:
            found.append(int(entry))
    return found


def end_wine_programs(image_name, timeout=20):
    """Ends every `image_name` of this prefix, including those no test started itself
    (a launcher restarted by the updater's batch): Wine's taskkill does not always reach
    them. True when none is left."""
    for sig in (signal.SIGTERM, signal.SIGKILL):
        for pid in wine_programs(image_name):
            try:
                os.kill(pid, sig)
            except OSError:
                pass
        if wait_until(lambda: not wine_programs(image_name), timeout / 2):
            return True
    return False


class ServedInThread:
    """An HTTP server on a free 127.0.0.1 port with `handler`, served from a thread
    while the object is in use (`with`)."""

    def __init__(self, handler):
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.port = self.server.server_address[1]
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.server.shutdown()
        self.server.server_close()


class QuietHandler(http.server.BaseHTTPRequestHandler):
    """HTTP/1.1 (kept-alive connections, as a real server) without a log line per request."""
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass


class CutOnceUpstream(ServedInThread):
    """Serves files of `root`; the first request for each path in `cut` announces the
    whole length but sends only half of it and closes. Honours "Range: bytes=N-"."""

    def __init__(self, root, cut):
        self.root, self.pending_cuts = root, set(cut)
        self.requests = []
        upstream = self

        class Handler(QuietHandler):
            def do_GET(self):
                upstream.requests.append((self.path, self.headers.get("Range")))
                path = os.path.join(upstream.root, self.path.lstrip("/"))
                try:
                    with open(path, "rb") as f:
                        data = f.read()
                except OSError:
                    self.send_error(404)
                    return
                offset, status = 0, 200
                ranged = self.headers.get("Range", "")
                if ranged.replace(" ", "").startswith("bytes=") and ranged.endswith("-"):
                    offset, status = int(ranged.split("=", 1)[1].strip().rstrip("-")), 206
                body = data[offset:]
                self.send_response(status)
                if status == 206:
                    self.send_header("Content-Range", "bytes %d-%d/%d" % (offset, len(data) - 1, len(data)))
                self.send_header("Content-Length", str(len(body)))
                self.send_header("Connection", "close")
                self.end_headers()
                if self.path in upstream.pending_cuts:
                    upstream.pending_cuts.discard(self.path)
                    self.wfile.write(body[: len(body) // 2])
                    self.wfile.flush()
                    self.close_connection = True
                    return
                self.wfile.write(body)

        super().__init__(Handler)


class StallingUpstream(ServedInThread):
    """Holds every request until `release()` (or `hold` seconds), then answers with
    `body`. Counts the requests still waiting and those the client gave up on (closed
    its connection) before the answer."""

    def __init__(self, body, hold=60):
        self.body, self.hold = body, hold
        self.released = threading.Event()
        self.waiting = 0
        self.gave_up = 0
        upstream = self

        class Handler(QuietHandler):
            def do_GET(self):
                upstream.waiting += 1
                end = time.monotonic() + upstream.hold
                while not upstream.released.wait(0.1) and time.monotonic() < end:
                    readable, _, _ = select.select([self.connection], [], [], 0)
                    if readable and self.connection.recv(1, socket.MSG_PEEK) == b"":
                        upstream.waiting -= 1
                        upstream.gave_up += 1
                        self.close_connection = True
                        return
                upstream.waiting -= 1
                try:
                    self.send_response(200)
                    self.send_header("Content-Length", str(len(upstream.body)))
                    self.send_header("Connection", "close")
                    self.end_headers()
                    self.wfile.write(upstream.body)
                except OSError:
                    upstream.gave_up += 1
                self.close_connection = True

        super().__init__(Handler)

    def release(self):
        self.released.set()


class Updater:
    """Updater.exe under Wine, started in its folder the way the launcher starts it."""

    def __init__(self, wine, folder):
        self.wine, self.folder = wine, folder
        self.process = None

    def __enter__(self):
        self.process = subprocess.Popen([self.wine, "Updater.exe"], cwd=self.folder,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return self

    def wait(self, timeout):
        """Waits for the program to end; returns its exit code."""
        return self.process.wait(timeout)

    def __exit__(self, *exc):
        stop(self.process)


def probe(wine, probe_exe, *steps, timeout=300):
    """Runs the probe's steps; returns (exit code, [(key, value)]). The output goes
    through a file, not a pipe: Wine helper processes started by the first Wine
    program of a prefix would inherit a pipe and hold it open."""
    with tempfile.TemporaryFile() as out:
        code = subprocess.run([wine, probe_exe, *[str(s) for s in steps]], stdin=subprocess.DEVNULL, stdout=out,
                              stderr=subprocess.DEVNULL, timeout=timeout).returncode
        out.seek(0)
        text = out.read().decode("utf-8", "replace")
    facts = []
    for line in text.splitlines():
        key, _, value = line.partition("\t")
        facts.append((key, value))
    return code, facts


def fact(facts, key):
    values = [v for k, v in facts if k == key]
    return values[-1] if values else None


def rows(facts):
    return [tuple(v.split("\t", 1)) for k, v in facts if k == "row"]


def wait_until(predicate, timeout, step=0.1):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if predicate():
            return True
        time.sleep(step)
    return predicate()
