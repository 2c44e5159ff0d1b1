#!/usr/bin/env python3
"""An update over a real link: round-trip delays and a bandwidth cap.

    bench/latency_run.py [build folder, default build/win32 or build/win64]

(VELMORA_BENCH_FILES, VELMORA_BENCH_MIB and VELMORA_BENCH_ROUNDS change the size and
the number of rounds; VELMORA_LINK_DELAY_MS and VELMORA_LINK_RATE the link.)

Publishes 500 files totalling 100 MiB on a local nginx and puts bench/latency_proxy.py
in front of it on the 127.0.0.1 port built into the test Updater.exe: 30 ms for each
new connection and each request, at most 20 MB/s for all answers together. Then, in
interleaved rounds:
  - the reference: one 100 MiB file through the same proxy with winhttp_fetch, the
    time the bandwidth alone takes on this link (nominally 100 MiB / 20 MB/s);
  - Updater.exe updating an empty program folder, timed by the probe from the click
    on "更新" to the status "更新成功.".
Prints the best of each side, the proxy's connection and request counts of the last
run, and "latency ratio bandwidth time / update run = X (target >= 0.80)". Needs an X
display (xvfb-run -a) and the targets updater_e2e, update_probe and winhttp_fetch.
Exits 0 whatever the ratio.
"""
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tools"))
sys.path.insert(0, os.path.join(ROOT, "tests", "updater_e2e"))
import release  # noqa: E402
from e2e_support import Nginx, Updater, fact, port_is_free, probe, stop, wait_for_port, wait_until  # noqa: E402

FILES = int(os.environ.get("VELMORA_BENCH_FILES", "500"))
TOTAL = int(os.environ.get("VELMORA_BENCH_MIB", "100")) << 20
ROUNDS = int(os.environ.get("VELMORA_BENCH_ROUNDS", "2"))
DELAY_MS = float(os.environ.get("VELMORA_LINK_DELAY_MS", "30"))
RATE = float(os.environ.get("VELMORA_LINK_RATE", "20e6"))


def win(path):
    return "Z:" + path.replace("/", "\\")


def default_build():
    wine32 = subprocess.run(["dpkg-query", "-W", "-f=${Status}", "wine32:i386"],
                            capture_output=True, text=True).stdout
    if "install ok installed" in wine32:
        return os.path.join(ROOT, "build", "win32")
    print("latency_run: running the win64 programs: wine32 not installed")
    return os.path.join(ROOT, "build", "win64")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class LinkProxy:
    """bench/latency_proxy.py on `port` in front of `upstream`, for one `with` block."""

    def __init__(self, port, upstream, stats):
        self.port, self.upstream, self.stats = port, upstream, stats
        self.process = None

    def __enter__(self):
        if not wait_until(lambda: port_is_free(self.port), 10):
            raise RuntimeError("port %d, built into the test updater, is taken" % self.port)
        self.process = subprocess.Popen(
            [sys.executable, os.path.join(ROOT, "bench", "latency_proxy.py"), str(self.port), str(self.upstream),
             "--delay-ms", str(DELAY_MS), "--rate", str(RATE), "--stats", self.stats],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for_port(self.port)
        return self

    def __exit__(self, *exc):
        stop(self.process)


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else default_build())
    cache = open(os.path.join(build, "CMakeCache.txt")).read()
    port = int(re.search(r"^VELMORA_E2E_PORT:STRING=(\d+)", cache, re.M).group(1))
    updater_exe = os.path.join(build, "bin", "e2e", "Updater.exe")
    probe_exe = os.path.join(build, "bin", "update_probe.exe")
    fetch_exe = os.path.join(build, "bin", "winhttp_fetch.exe")
    wine = os.path.join(ROOT, "tools", "wine-exec.sh")
    work = tempfile.mkdtemp(prefix="velmora-latency.")
    own_prefix = "WINEPREFIX" not in os.environ
    if own_prefix:
        os.environ["WINEPREFIX"] = os.path.join(work, "wineprefix")
        subprocess.run([os.path.join(ROOT, "tools", "wine-prefix.sh")], check=True)
    quiet = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["wineserver", "-p"], **quiet)
    subprocess.run([wine, "cmd", "/c", "exit"], **quiet)
    try:
        root = os.path.join(work, "root")
        update = os.path.join(root, "zorvik", "Wakfu", "Update")
        os.makedirs(os.path.join(update, "data"))
        size = TOTAL // FILES
        for i in range(FILES):
            with open(os.path.join(update, "data", "f%03d.bin" % i), "wb") as f:
                f.write(os.urandom(size))
        release.write_release(update)
        # The test Updater.exe takes only releases signed with the build tree's key.
        key = os.path.join(build, "release-key", "private.pem")
        if os.path.exists(key):
            release.sign_manifest(update, key)
        os.makedirs(os.path.join(root, "reference"))
        with open(os.path.join(root, "reference", "whole.bin"), "wb") as f:
            for _ in range(FILES):
                f.write(os.urandom(size))
        urls = os.path.join(work, "urls.txt")
        with open(urls, "w") as f:
            f.write("http://127.0.0.1:%d/reference/whole.bin\n" % port)

        stats = os.path.join(work, "proxy-stats.txt")
        ref_times, run_times = [], []
        with Nginx(os.path.join(work, "nginx"), root, free_port()) as nginx:
            with LinkProxy(port, nginx.port, stats):
                for _ in range(ROUNDS):
                    with tempfile.TemporaryFile() as text:
                        subprocess.run([wine, fetch_exe, win(urls)], stdin=subprocess.DEVNULL, stdout=text,
                                       stderr=subprocess.DEVNULL)
                        text.seek(0)
                        line = text.read().decode("ascii", "replace")
                    found = re.search(r"seconds=([0-9.]+)", line)
                    if not found:
                        print("reference fetch failed: %s" % line.strip())
                        return 0
                    ref_times.append(float(found.group(1)))

                    app = os.path.join(work, "app")
                    shutil.rmtree(app, ignore_errors=True)
                    os.makedirs(app)
                    shutil.copy(updater_exe, os.path.join(app, "Updater.exe"))
                    with Updater(wine, app) as updater:
                        code, facts = probe(wine, probe_exe, "find", 60000, "click", 1001,
                                            "wait", 1004, "更新成功.", 600000, "dump", "close", "exit", 30000)
                        updater.wait(60)
                    if code != 0:
                        print("updater run failed: %s" % facts)
                        return 0
                    run_times.append(int(fact(facts, "waited_ms")) / 1000.0)
            # The proxy has written its counts on the way out (of every round).
            time.sleep(0.2)
        counts = open(stats).read().strip() if os.path.exists(stats) else "(no counts)"
        ref, run = min(ref_times), min(run_times)
        nominal = TOTAL / RATE
        print("link: %.0f ms per connection and request, %.1f MB/s; %d files, %d MiB" %
              (DELAY_MS, RATE / 1e6, FILES, TOTAL >> 20))
        print("reference: %d MiB in one stream through the link, best %.2f s of %s (bandwidth alone: %.2f s)" %
              (TOTAL >> 20, ref, ref_times, nominal))
        print("Updater.exe click to 更新成功.: best %.2f s of %s" % (run, run_times))
        print("proxy, all rounds: %s" % counts)
        print("latency ratio bandwidth time / update run = %.2f (target >= 0.80; against the nominal %.2f s: %.2f)" %
              (ref / run, nominal, nominal / run))
    finally:
        if own_prefix:
            subprocess.run(["wineserver", "-k"])
        shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
