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
import socket
import subprocess
import sys
import time

sys.dont_write_bytecode = True
from update_bench_support import Build, bench_folder, default_build, fetch_seconds, publish_random_release, \
    timed_update, win  # noqa: E402
from e2e_support import Nginx, port_is_free, stop, wait_for_port, wait_until  # noqa: E402

FILES = int(os.environ.get("VELMORA_BENCH_FILES", "500"))
TOTAL = int(os.environ.get("VELMORA_BENCH_MIB", "100")) << 20
ROUNDS = int(os.environ.get("VELMORA_BENCH_ROUNDS", "2"))
DELAY_MS = float(os.environ.get("VELMORA_LINK_DELAY_MS", "30"))
RATE = float(os.environ.get("VELMORA_LINK_RATE", "20e6"))
PROXY = os.path.join(os.path.dirname(os.path.abspath(__file__)), "latency_proxy.py")


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
            [sys.executable, PROXY, str(self.port), str(self.upstream),
             "--delay-ms", str(DELAY_MS), "--rate", str(RATE), "--stats", self.stats],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for_port(self.port)
        return self

    def __exit__(self, *exc):
        stop(self.process)


def main():
    build = Build(sys.argv[1] if len(sys.argv) > 1 else default_build("latency_run"))
    with bench_folder("velmora-latency.") as work:
        root = os.path.join(work, "root")
        publish_random_release(root, build, FILES, TOTAL)
        os.makedirs(os.path.join(root, "reference"))
        with open(os.path.join(root, "reference", "whole.bin"), "wb") as f:
            for _ in range(FILES):
                f.write(os.urandom(TOTAL // FILES))
        urls = os.path.join(work, "urls.txt")
        with open(urls, "w") as f:
            f.write("http://127.0.0.1:%d/reference/whole.bin\n" % build.port)

        stats = os.path.join(work, "proxy-stats.txt")
        ref_times, run_times = [], []
        with Nginx(os.path.join(work, "nginx"), root, free_port()) as nginx:
            with LinkProxy(build.port, nginx.port, stats):
                for _ in range(ROUNDS):
                    seconds, line = fetch_seconds(build, win(urls))
                    if seconds is None:
                        print("reference fetch failed: %s" % line.strip())
                        return 0
                    ref_times.append(seconds)
                    seconds, facts = timed_update(build, work, 600000)
                    if seconds is None:
                        print("updater run failed: %s" % facts)
                        return 0
                    run_times.append(seconds)
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
    return 0


if __name__ == "__main__":
    sys.exit(main())
