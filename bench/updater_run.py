#!/usr/bin/env python3
"""Speed of a whole update run in the real Updater.exe against the bare WinHTTP loop.

    bench/updater_run.py [build folder, default build/win32]

(VELMORA_BENCH_FILES and VELMORA_BENCH_MIB change the size for a quick look.)

Publishes 500 files totalling 300 MiB on a local nginx (the 127.0.0.1 port built into
the test Updater.exe), then, in interleaved rounds, fetches them in sequence with
winhttp_fetch (the reference) and lets Updater.exe update an empty program folder
from them, timed from the click on "更新" to the status "更新成功." by the probe,
which also reports its slowest WM_GETTEXT round trip during the run (the dialog's
responsiveness; target under 50 ms). Prints the best time of each side and the ratio
reference / updater (target >= 0.8). Needs an X display (xvfb-run -a) and builds the
targets updater_e2e, update_probe and winhttp_fetch first. Exits 0 whatever the ratio.
"""
import os
import shutil
import sys

sys.dont_write_bytecode = True
from update_bench_support import Build, bench_folder, default_build, fact, fetch_seconds, publish_random_release, \
    timed_update, win  # noqa: E402
from e2e_support import Nginx  # noqa: E402  (on the path through update_bench_support)

FILES = int(os.environ.get("VELMORA_BENCH_FILES", "500"))
TOTAL = int(os.environ.get("VELMORA_BENCH_MIB", "300")) << 20
ROUNDS = int(os.environ.get("VELMORA_BENCH_ROUNDS", "2"))


def main():
    build = Build(sys.argv[1] if len(sys.argv) > 1 else default_build("updater_run"))
    with bench_folder("velmora-updbench.") as work:
        root = os.path.join(work, "root")
        names = publish_random_release(root, build, FILES, TOTAL)
        urls = os.path.join(work, "urls.txt")
        with open(urls, "w") as f:
            for name in names:
                f.write("http://127.0.0.1:%d/zorvik/Wakfu/Update/%s\n" % (build.port, name))

        ref_times, run_times, slowest = [], [], []
        with Nginx(os.path.join(work, "nginx"), root, build.port):
            for _ in range(ROUNDS):
                out = os.path.join(work, "out-ref")
                shutil.rmtree(out, ignore_errors=True)
                os.makedirs(out)
                seconds, line = fetch_seconds(build, win(urls), win(out))
                if seconds is None:
                    print("reference fetch failed: %s" % line.strip())
                    return 0
                ref_times.append(seconds)
                seconds, facts = timed_update(build, work, 1200000, timeout=1500)
                if seconds is None:
                    print("updater run failed: %s" % facts)
                    return 0
                run_times.append(seconds)
                slowest.append(int(fact(facts, "getText_slowest_ms")))
                print("run %.2f s, slow WM_GETTEXT trips (ms after the click+ms): %s" % (seconds, fact(facts, "getText_slow_trips")))
        ref, run = min(ref_times), min(run_times)
        print("reference winhttp_fetch: %d files, %d MiB, best %.2f s of %s" % (FILES, TOTAL >> 20, ref, ref_times))
        print("Updater.exe click to 更新成功.: best %.2f s of %s" % (run, run_times))
        print("ratio reference/updater = %.2f (target >= 0.8)" % (ref / run))
        print("slowest WM_GETTEXT round trip during the runs: %d ms (target < 50 ms)" % max(slowest))
    return 0


if __name__ == "__main__":
    sys.exit(main())
