#!/usr/bin/env python3
"""tools/release.py publish against the real Updater.exe under Wine and nginx.

    release_publish_e2e.py --port P --updater U --probe D --launcher L --work W --wine X

A program folder is published with `release.py publish` into a content root that
nginx serves on 127.0.0.1:P (the port built into the test Updater.exe). A client
folder, a copy of the program folder, then finds nothing to update; after a changed
folder (one file changed, one added, one unchanged) is published over the same root,
the updater fetches exactly the changed files and the client ends equal to it.
Needs an X display and a Wine prefix.
"""
import argparse
import os
import shutil
import subprocess
import sys

sys.dont_write_bytecode = True  # keep the source folders clean
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "updater_e2e"))
from e2e_support import Nginx, Updater, fact, probe, rows, wait_until  # noqa: E402
from tree_files import files_of, put as put_file  # noqa: E402

RELEASE = os.path.join(HERE, "..", "..", "tools", "release.py")
SUCCESS = "更新成功."
NEWEST = "程序已经是最新版,不需要更新."
CHANGED = "skin\\Wakfu.ui"
ADDED = "数据\\新地图.bin"


def put(folder, name, data):
    put_file(folder, name, data, "\\")


class Run:
    def __init__(self, args):
        self.args, self.failures = args, []
        shutil.rmtree(args.work, ignore_errors=True)
        self.program = os.path.join(args.work, "program")
        self.sign_key = args.sign_key
        self.client = os.path.join(args.work, "client")
        self.served = os.path.join(args.work, "served")
        self.content = os.path.join(self.served, "zorvik", "Wakfu")

    def check(self, condition, what):
        if not condition:
            self.failures.append(what)
            print("FAILED: " + what)

    def publish(self, version):
        # The test Updater.exe trusts the build tree's key: each release is signed with it.
        result = subprocess.run([sys.executable, RELEASE, "publish", self.program, self.content, "--version", version,
                                 "--sign-key", self.sign_key],
                                stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=120)
        print("  publish %s: exit %d %s%s" % (version, result.returncode, result.stdout, result.stderr))
        if result.returncode != 0:
            raise RuntimeError("release.py publish failed")

    def update(self, *steps):
        """Starts the updater in the client folder, presses 更新 and runs `steps`."""
        with Updater(self.args.wine, self.client) as updater:
            code, facts = probe(self.args.wine, self.args.probe, "find", 60000, "click", 1001, *steps)
            for key, value in facts:
                print("  %s: %s" % (key, value))
            self.check(code == 0, "the probe's steps ran: %s" % (steps,))
            updater.wait(60)
        return facts

    def run(self):
        with open(self.args.updater, "rb") as f:
            put(self.program, "Updater.exe", f.read())
        with open(self.args.launcher, "rb") as f:
            put(self.program, "Velmora.exe", f.read())
        put(self.program, CHANGED, b"PK skin 2.0.0" * 5000)
        put(self.program, "SEWI.bin", b"1^2^3^")
        self.publish("2.0.0.5")
        shutil.copytree(self.program, self.client)

        with Nginx(os.path.join(self.args.work, "nginx"), self.served, self.args.port):
            facts = self.update("wait", 1004, NEWEST, 60000, "dump", "click", 1002, "exit", 30000)
            self.check(fact(facts, "rows") == "0", "the same folder has nothing to update")

            put(self.program, CHANGED, b"PK skin 2.0.1" * 6000)
            put(self.program, ADDED, b"new map\r\n" * 2000)
            self.publish("2.0.1.0")
            facts = self.update("wait", 1004, SUCCESS, 120000, "dump", "click", 1001, "exit", 30000)
            fetched = sorted(r[0] for r in rows(facts))
            self.check(fetched == sorted([CHANGED, ADDED]), "exactly the changed files are fetched: %s" % fetched)
            self.check(fact(facts, "count") == "2个(当前已下载文件个数)/2个(总文件个数)", "two files counted")
        # "更新完成" restarts the (stand-in) launcher through the batch; let it finish.
        self.check(wait_until(lambda: os.path.exists(os.path.join(self.client, "launcher-ran.txt")), 60),
                   "the launcher is restarted")
        self.check(wait_until(lambda: not os.path.exists(os.path.join(self.client, "delete.bat")), 30),
                   "delete.bat removes itself")
        client = files_of(self.client, "\\")
        for name, data in files_of(self.program, "\\").items():
            self.check(client.get(name) == data, "the client's %s equals the published one" % name)
        return 1 if self.failures else 0


def main():
    parser = argparse.ArgumentParser()
    for option in ("--port", "--updater", "--probe", "--launcher", "--work", "--wine", "--sign-key"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    args.port = int(args.port)
    code = Run(args).run()
    print("passed" if code == 0 else "failed")
    return code


if __name__ == "__main__":
    sys.exit(main())
