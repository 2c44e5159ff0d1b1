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
import re
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tools"))
sys.path.insert(0, os.path.join(ROOT, "tests", "updater_e2e"))
import release  # noqa: E402
from e2e_support import Nginx, Updater, fact, probe  # noqa: E402

FILES = int(os.environ.get("VELMORA_BENCH_FILES", "500"))
TOTAL = int(os.environ.get("VELMORA_BENCH_MIB", "300")) << 20
ROUNDS = int(os.environ.get("VELMORA_BENCH_ROUNDS", "2"))


def win(path):
    return "Z:" + path.replace("/", "\\")


def default_build():
    """build/win32 where the 32-bit Wine is installed, build/win64 otherwise."""
    wine32 = subprocess.run(["dpkg-query", "-W", "-f=${Status}", "wine32:i386"],
                            capture_output=True, text=True).stdout
    if "install ok installed" in wine32:
        return os.path.join(ROOT, "build", "win32")
    print("updater_run: running the win64 programs: wine32 not installed")
    return os.path.join(ROOT, "build", "win64")


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else default_build())
    cache = open(os.path.join(build, "CMakeCache.txt")).read()
    port = int(re.search(r"^VELMORA_E2E_PORT:STRING=(\d+)", cache, re.M).group(1))
    updater_exe = os.path.join(build, "bin", "e2e", "Updater.exe")
    probe_exe = os.path.join(build, "bin", "update_probe.exe")
    fetch_exe = os.path.join(build, "bin", "winhttp_fetch.exe")
    wine = os.path.join(ROOT, "tools", "wine-exec.sh")
    work = tempfile.mkdtemp(prefix="velmora-updbench.")
    own_prefix = "WINEPREFIX" not in os.environ
    if own_prefix:
        os.environ["WINEPREFIX"] = os.path.join(work, "wineprefix")
        subprocess.run([os.path.join(ROOT, "tools", "wine-prefix.sh")], check=True)
    quiet = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["wineserver", "-p"], **quiet)
    subprocess.run([wine, "cmd", "/c", "exit"], **quiet)  # starts Wine's helpers, away from any pipe
    try:
        root = os.path.join(work, "root")
        update = os.path.join(root, "zorvik", "Wakfu", "Update")
        os.makedirs(os.path.join(update, "data"))
        size = TOTAL // FILES
        names = []
        for i in range(FILES):
            name = "data/f%03d.bin" % i
            with open(os.path.join(update, name), "wb") as f:
                f.write(os.urandom(size))
            names.append(name)
        release.write_release(update)
        # The test Updater.exe takes only releases signed with the build tree's key.
        key = os.path.join(build, "release-key", "private.pem")
        if os.path.exists(key):
            release.sign_manifest(update, key)
        urls = os.path.join(work, "urls.txt")
        with open(urls, "w") as f:
            for name in names:
                f.write("http://127.0.0.1:%d/zorvik/Wakfu/Update/%s\n" % (port, name))

        ref_times, run_times, slowest = [], [], []
        with Nginx(os.path.join(work, "nginx"), root, port):
            for _ in range(ROUNDS):
                out = os.path.join(work, "out-ref")
                shutil.rmtree(out, ignore_errors=True)
                os.makedirs(out)
                with tempfile.TemporaryFile() as text:
                    subprocess.run([wine, fetch_exe, win(urls), win(out)], stdin=subprocess.DEVNULL, stdout=text,
                                   stderr=subprocess.DEVNULL)
                    text.seek(0)
                    line = text.read().decode("ascii", "replace")
                ref_times.append(float(re.search(r"seconds=([0-9.]+)", line).group(1)))

                app = os.path.join(work, "app")
                shutil.rmtree(app, ignore_errors=True)
                os.makedirs(app)
                shutil.copy(updater_exe, os.path.join(app, "Updater.exe"))
                with Updater(wine, app) as updater:
                    code, facts = probe(wine, probe_exe, "find", 60000, "click", 1001,
                                        "wait", 1004, "更新成功.", 1200000, "dump", "close", "exit", 30000,
                                        timeout=1500)
                    updater.wait(60)
                if code != 0:
                    print("updater run failed: %s" % facts)
                    return 0
                run_times.append(int(fact(facts, "waited_ms")) / 1000.0)
                slowest.append(int(fact(facts, "getText_slowest_ms")))
        ref, run = min(ref_times), min(run_times)
        print("reference winhttp_fetch: %d files, %d MiB, best %.2f s of %s" % (FILES, TOTAL >> 20, ref, ref_times))
        print("Updater.exe click to 更新成功.: best %.2f s of %s" % (run, run_times))
        print("ratio reference/updater = %.2f (target >= 0.8)" % (ref / run))
        print("slowest WM_GETTEXT round trip during the runs: %d ms (target < 50 ms)" % max(slowest))
    finally:
        if own_prefix:
            subprocess.run(["wineserver", "-k"])
        shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
