"""What the update benchmarks share: the build's programs, a Wine prefix of their own,
a published release of random files and one timed run of the real Updater.exe."""
import contextlib
import os
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tools"))
sys.path.insert(0, os.path.join(ROOT, "tests", "updater_e2e"))
import release  # noqa: E402
from e2e_support import Updater, fact, probe  # noqa: E402

WINE = os.path.join(ROOT, "tools", "wine-exec.sh")
QUIET = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def win(path):
    return "Z:" + path.replace("/", "\\")


def default_build(who):
    """The build whose programs this machine runs, as scripts/wine-status.sh decides:
    build/win32 where the 32-bit Wine is there and starts, build/win64 otherwise."""
    status = os.path.join(ROOT, "scripts", "wine-status.sh")
    answer = subprocess.run(["bash", "-c", '. "$1"; note_runnable_preset "$2"; echo "$RUNNABLE_PRESET"',
                             "wine-status", status, who], capture_output=True, text=True).stdout.split("\n")
    lines = [line for line in answer if line]
    for note in lines[:-1]:
        print(note)
    return os.path.join(ROOT, "build", lines[-1] if lines else "win64")


class Build:
    """The programs of a build folder and the server port built into its test updater."""

    def __init__(self, folder):
        self.folder = os.path.abspath(folder)
        with open(os.path.join(self.folder, "CMakeCache.txt")) as f:
            cache = f.read()
        self.port = int(re.search(r"^VELMORA_E2E_PORT:STRING=(\d+)", cache, re.M).group(1))
        self.updater = os.path.join(self.folder, "bin", "e2e", "Updater.exe")
        self.probe = os.path.join(self.folder, "bin", "update_probe.exe")
        self.fetch = os.path.join(self.folder, "bin", "winhttp_fetch.exe")
        self.sign_key = os.path.join(self.folder, "release-key", "private.pem")


@contextlib.contextmanager
def bench_folder(prefix):
    """A scratch folder, with a Wine prefix of its own unless WINEPREFIX names one;
    both go at the end."""
    work = tempfile.mkdtemp(prefix=prefix)
    own_prefix = "WINEPREFIX" not in os.environ
    if own_prefix:
        os.environ["WINEPREFIX"] = os.path.join(work, "wineprefix")
        subprocess.run([os.path.join(ROOT, "tools", "wine-prefix.sh")], check=True)
    subprocess.run(["wineserver", "-p"], **QUIET)
    subprocess.run([WINE, "cmd", "/c", "exit"], **QUIET)  # starts Wine's helpers, away from any pipe
    try:
        yield work
    finally:
        if own_prefix:
            subprocess.run(["wineserver", "-k"])
        shutil.rmtree(work, ignore_errors=True)


def publish_random_release(root, build, files, total):
    """`files` files of random bytes, `total` bytes in all, published (and signed with
    the build's key, the only one its test Updater.exe takes) under root/zorvik/Wakfu/
    Update. Returns their names relative to that folder."""
    update = os.path.join(root, "zorvik", "Wakfu", "Update")
    os.makedirs(os.path.join(update, "data"))
    names = []
    for i in range(files):
        name = "data/f%03d.bin" % i
        with open(os.path.join(update, name), "wb") as f:
            f.write(os.urandom(total // files))
        names.append(name)
    release.write_release(update)
    if os.path.exists(build.sign_key):
        release.sign_manifest(update, build.sign_key)
    return names


def timed_update(build, work, wait_ms, timeout=300):
    """Updater.exe in an empty program folder, timed by the probe from the click on
    "更新" to "更新成功.". Returns (seconds, facts), seconds None when the run failed."""
    app = os.path.join(work, "app")
    shutil.rmtree(app, ignore_errors=True)
    os.makedirs(app)
    shutil.copy(build.updater, os.path.join(app, "Updater.exe"))
    with Updater(WINE, app) as updater:
        code, facts = probe(WINE, build.probe, "find", 60000, "click", 1001,
                            "wait", 1004, "更新成功.", wait_ms, "dump", "close", "exit", 30000, timeout=timeout)
        updater.wait(60)
    if code != 0:
        return None, facts
    return int(fact(facts, "waited_ms")) / 1000.0, facts


def fetch_seconds(build, *arguments):
    """winhttp_fetch's own time for its arguments, None with its line when it failed."""
    with tempfile.TemporaryFile() as text:
        subprocess.run([WINE, build.fetch, *arguments], stdin=subprocess.DEVNULL, stdout=text,
                       stderr=subprocess.DEVNULL)
        text.seek(0)
        line = text.read().decode("ascii", "replace")
    found = re.search(r"seconds=([0-9.]+)", line)
    return (float(found.group(1)), line) if found else (None, line)
