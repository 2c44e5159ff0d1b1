#!/usr/bin/env python3
"""One end-to-end scenario of the real Updater.exe under Wine against nginx.

    run_e2e.py <scenario> --port P --updater U --probe D --launcher L --work W --wine X
               --sign-key K

The program folder W/app holds the test Updater.exe, a stub Velmora.exe that records
that it ran, and a few files; nginx serves a newer release on 127.0.0.1:P. The probe
presses the dialog's buttons and reads what it shows; afterwards the folder is
compared with the server byte for byte. The test Updater.exe has the public half of
the build tree's release key built in; releases are signed with K, its private half.
Needs an X display and a Wine prefix.
"""
import argparse
import hashlib
import os
import shutil
import sys
import tempfile

sys.dont_write_bytecode = True  # keep the source folders clean
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import release  # noqa: E402
import release_signing  # noqa: E402
from e2e_support import (CutOnceUpstream, Nginx, StallingUpstream, Updater, fact, probe,  # noqa: E402
                         rows, wait_until)

SUCCESS = "更新成功."
NEWEST = "程序已经是最新版,不需要更新."
NO_NETWORK = "更新信息获取失败,请检测网络是否正常!"
DOWNLOAD_FAILED = "下载更新文件失败,请检测网络是否正常."
ROW_FAILED = "文件下载失败"
NEW_FILE = "data\\新地图\\map.bin"
LAUNCHER_MARK = "launcher-ran.txt"


class Scenario:
    def __init__(self, args):
        self.args = args
        self.work = args.work
        shutil.rmtree(self.work, ignore_errors=True)
        self.app = os.path.join(self.work, "app")
        self.root = os.path.join(self.work, "root")
        self.update = os.path.join(self.root, "zorvik", "Wakfu", "Update")
        os.makedirs(self.app)
        os.makedirs(self.update)
        os.makedirs(os.path.join(self.root, "zorvik", "Wakfu", "UpdateLog"))
        with open(args.updater, "rb") as f:
            self.updater_bytes = f.read()
        with open(args.launcher, "rb") as f:
            self.launcher_bytes = f.read()

    # Folders -------------------------------------------------------------------
    def put(self, folder, name, data):
        path = os.path.join(folder, *name.split("\\"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)

    def old_program(self):
        self.put(self.app, "Updater.exe", self.updater_bytes)
        self.put(self.app, "Velmora.exe", self.launcher_bytes)
        self.put(self.app, "keep.txt", b"same on both sides\r\n")
        self.put(self.app, "changed.dat", b"old content\r\n" * 1000)
        self.put(self.app, "local-only.txt", b"the server does not list me\r\n")

    def new_release(self, extra=()):
        self.put(self.update, "Updater.exe", self.updater_bytes + b"\0new updater build")
        self.put(self.update, "Velmora.exe", self.launcher_bytes)
        self.put(self.update, "keep.txt", b"same on both sides\r\n")
        self.put(self.update, "changed.dat", bytes(range(256)) * 700)  # 179200 bytes: five blocks
        self.put(self.update, NEW_FILE, b"\x89new map\r\n" * 3000)
        for name, data in extra:
            self.put(self.update, name, data)
        self.publish(log_text="v2.0.1 更新日志\n修复了地图加载问题\n")

    def same_release(self):
        for name in ("Updater.exe", "Velmora.exe", "keep.txt", "changed.dat", "local-only.txt"):
            with open(os.path.join(self.app, name), "rb") as f:
                self.put(self.update, name, f.read())
        self.publish(log_text="v2.0.0\n")

    def publish(self, log_text=None):
        release.write_release(self.update, log_text=log_text)
        release.sign_manifest(self.update, self.args.sign_key)

    def program_snapshot(self):
        snapshot = {}
        for dirpath, _, files in os.walk(self.app):
            for name in files:
                path = os.path.join(dirpath, name)
                with open(path, "rb") as f:
                    snapshot[os.path.relpath(path, self.app)] = f.read()
        return snapshot

    def server_files(self):
        return [(name, os.path.join(self.update, *name.split("\\")))
                for name, _ in release.manifest_records(self.update)]

    # Running -------------------------------------------------------------------
    def nginx(self, proxied=None, rate=None, ranges=True):
        return Nginx(os.path.join(self.work, "nginx"), self.root, self.args.port, proxied, rate, ranges)

    def updater(self, folder=None):
        return Updater(self.args.wine, folder or self.app)

    def drive(self, *steps):
        # Each probe is a new process: it finds the dialog first.
        return self.probe_only("find", 60000, *steps)

    def probe_only(self, *steps):
        code, facts = probe(self.args.wine, self.args.probe, *steps)
        for key, value in facts:
            print("  %s: %s" % (key, value))
        check(code == 0, "probe steps failed: %s" % (steps,))
        return facts

    def ended_cleanly(self, updater, timeout=30):
        """The updater ends by itself, with exit code 0 and no crash dialog."""
        try:
            code = updater.wait(timeout)
        except Exception:  # still running: hung, or held by a crash dialog
            self.probe_only("nocrash")
            raise AssertionError("the updater did not end within %d s" % timeout)
        self.probe_only("nocrash")
        check(code == 0, "the updater ended with exit code %r" % code)

    def wait_for_launcher(self):
        check(wait_until(lambda: os.path.exists(os.path.join(self.app, LAUNCHER_MARK)), 60),
              "the restart batch did not start the launcher")
        check(wait_until(lambda: not os.path.exists(os.path.join(self.app, "delete.bat")), 30),
              "delete.bat is still there")

    # Checks --------------------------------------------------------------------
    def check_matches_server(self):
        for name, path in self.server_files():
            local = os.path.join(self.app, *name.split("\\"))
            check(os.path.exists(local), "missing after the update: " + name)
            with open(local, "rb") as a, open(path, "rb") as b:
                check(a.read() == b.read(), "differs from the server: " + name)
        with open(os.path.join(self.app, "Updater.exe"), "rb") as f:
            check(f.read().endswith(b"new updater build"), "Updater.exe is not the new one")
        check(os.path.exists(os.path.join(self.app, "local-only.txt")), "a local-only file was removed")
        self.check_no_leftovers()

    def check_no_leftovers(self):
        for dirpath, _, files in os.walk(self.app):
            for name in files:
                check(not name.endswith(".tmp"), "temporary file left: " + os.path.join(dirpath, name))
        for name in ("LocalDate.ini", "UpDate.ini", "delete.bat"):
            check(not os.path.exists(os.path.join(self.app, name)), name + " left in the folder")


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def full_update(s):
    s.old_program()
    s.new_release()
    with s.nginx(), s.updater() as updater:
        # The run's last texts (speed at rest, no current file) follow the status in
        # the dialog's next batch of changes, a few hundred milliseconds at the most.
        facts = s.drive("click", 1001, "wait", 1004, SUCCESS, 120000, "wait", 1021, "0.0k/s(下载速度)", 5000, "dump")
        check(fact(facts, "update") == "更新完成", "Update button should read 更新完成")
        check(fact(facts, "exit_enabled") == "0", "Exit should be disabled after a successful run")
        check(fact(facts, "update_enabled") == "1", "Update button should be enabled")
        check(fact(facts, "count") == "3个(当前已下载文件个数)/3个(总文件个数)", "count label")
        check(fact(facts, "progress") == "10000", "progress bar should end at 10000")
        check(fact(facts, "speed") == "0.0k/s(下载速度)", "speed label should be back at rest")
        check(fact(facts, "current") == "", "current file label should be empty")
        listed = rows(facts)
        check([r[0] for r in listed] == ["Updater.exe", "changed.dat", NEW_FILE], "rows: %r" % listed)
        check(listed[1][1] == "179.20K(当前大小)/179.20K(总大小)", "row of changed.dat: %r" % (listed[1],))
        s.drive("click", 1001, "exit", 30000)
        updater.wait(30)
    s.wait_for_launcher()
    s.check_matches_server()
    check(os.path.exists(os.path.join(s.app, "Update_Logo.txt")), "the update log copy should stay")


def nothing_to_update(s):
    s.old_program()
    s.same_release()
    with s.nginx(), s.updater() as updater:
        facts = s.drive("click", 1001, "wait", 1004, NEWEST, 60000, "dump")
        check(fact(facts, "update") == "更新", "Update button keeps its text")
        check(fact(facts, "update_enabled") == "1", "Update button enabled again")
        check(fact(facts, "exit_enabled") == "1", "Exit stays enabled")
        check(fact(facts, "rows") == "0", "no rows when nothing is downloaded")
        s.drive("click", 1002, "exit", 30000)
        updater.wait(30)
    check(not wait_until(lambda: os.path.exists(os.path.join(s.app, LAUNCHER_MARK)), 5),
          "closing after nothing to update must start nothing")
    s.check_no_leftovers()


def no_network(s):
    s.old_program()
    with s.updater() as updater:  # no server listens on the port
        facts = s.drive("click", 1001, "wait", 1004, NO_NETWORK, 60000, "dump")
        check(fact(facts, "update") == "更新", "Update button keeps its text")
        check(fact(facts, "update_enabled") == "1", "Update button enabled again")
        s.drive("close", "exit", 30000)
        updater.wait(30)
    check(not wait_until(lambda: os.path.exists(os.path.join(s.app, LAUNCHER_MARK)), 5),
          "a failed run must not restart the launcher")
    for name in ("LocalDate.ini", "UpDate.ini", "delete.bat"):
        check(not os.path.exists(os.path.join(s.app, name)), name + " left in the folder")


def cut_short(s):
    s.old_program()
    cut = "cut.dat"
    s.new_release(extra=[(cut, b"cut me short " * 20000)])
    url = "/zorvik/Wakfu/Update/" + cut
    with CutOnceUpstream(s.root, [url]) as upstream, s.nginx({url: upstream.port}), s.updater() as updater:
        facts = s.drive("click", 1001, "wait", 1004, DOWNLOAD_FAILED, 120000, "dump")
        check(fact(facts, "update") == "重新更新", "Update button should offer 重新更新")
        check(fact(facts, "update_enabled") == "1", "Update button enabled for the retry")
        check(fact(facts, "exit_enabled") == "1", "Exit stays enabled after a failure")
        listed = dict(rows(facts))
        check(listed.get(cut) == ROW_FAILED, "row of the cut file: %r" % listed.get(cut))
        with open(os.path.join(s.app, "changed.dat"), "rb") as a, open(os.path.join(s.update, "changed.dat"), "rb") as b:
            check(a.read() == b.read(), "a file that arrived before the failure stays replaced")
        facts = s.drive("click", 1001, "wait", 1004, SUCCESS, 120000, "dump")
        check(fact(facts, "update") == "更新完成", "the retry finishes the update")
        check(ROW_FAILED not in [r[1] for r in rows(facts)], "no failed row after the retry")
        s.drive("click", 1001, "exit", 30000)
        updater.wait(30)
        print("  upstream requests: %r" % upstream.requests)
    s.wait_for_launcher()
    s.check_matches_server()


def close_during_run(s):
    s.old_program()
    big = "big.pak"
    s.put(s.update, "keep.txt", b"same on both sides\r\n")
    s.put(s.update, big, b"\x5a" * (3 << 20))
    s.publish()
    with s.nginx(rate="400k"), s.updater() as updater:
        s.drive("click", 1001, "wait", 1022, big, 60000, "sleep", 500, "dump")
        s.drive("close", "nocrash", "exit", 15000)  # the worker is waited for a bounded time only
        s.ended_cleanly(updater)
    # No batch was written (the pass never finished), so nothing restarts the launcher.
    check(not wait_until(lambda: os.path.exists(os.path.join(s.app, LAUNCHER_MARK)), 5),
          "closing during a run without a written batch must start nothing")
    check(not os.path.exists(os.path.join(s.app, big)), "an unfinished file must not be put in place")
    check(not os.path.exists(os.path.join(s.app, "delete.bat")), "no batch should exist")


def refused_release(s, spoil):
    """A release spoiled after signing: the run must end as if the manifest were
    missing and leave the program folder exactly as it was."""
    s.old_program()
    s.new_release()
    spoil(s)
    before = s.program_snapshot()
    with s.nginx(), s.updater() as updater:
        facts = s.drive("click", 1001, "wait", 1004, NO_NETWORK, 60000, "dump")
        check(fact(facts, "update") == "更新", "Update button keeps its text")
        check(fact(facts, "update_enabled") == "1", "Update button enabled again")
        check(fact(facts, "rows") == "0", "nothing may be downloaded")
        s.drive("close", "exit", 30000)
        updater.wait(30)
    check(not wait_until(lambda: os.path.exists(os.path.join(s.app, LAUNCHER_MARK)), 5),
          "a refused release must not restart the launcher")
    after = s.program_snapshot()
    after.pop("Update_Logo.txt", None)  # the update log copy is shown before any update
    check(after == before, "the program folder changed: %r" % sorted(
        name for name in set(before) | set(after) if before.get(name) != after.get(name)))


def tampered_manifest(s):
    def spoil(s):
        # The attacker's Velmora.exe, with its digest in UpDate.ini; the old signature stays.
        evil = b"MZ not the publisher's launcher"
        s.put(s.update, "Velmora.exe", evil)
        manifest = os.path.join(s.update, "UpDate.ini")
        with open(manifest, "rb") as f:
            lines = f.read().split(b"\n")
        digest = hashlib.md5(evil).hexdigest().encode("ascii")
        lines = [b"Velmora.exe\t" + digest if line.startswith(b"Velmora.exe\t") else line for line in lines]
        check(b"Velmora.exe\t" + digest in lines, "the manifest lists Velmora.exe")
        with open(manifest, "wb") as f:
            f.write(b"\n".join(lines))
    refused_release(s, spoil)


def missing_signature(s):
    refused_release(s, lambda s: os.remove(os.path.join(s.update, "UpDate.ini.sig")))


def foreign_signature(s):
    def spoil(s):
        other = os.path.join(s.work, "other-key")
        os.makedirs(other)
        release_signing.keygen(os.path.join(other, "private.pem"), os.path.join(other, "public.hex"))
        release.sign_manifest(s.update, os.path.join(other, "private.pem"))
    refused_release(s, spoil)


def update_and_restart(s, extra_check=None):
    """Runs a whole update to its success, then exits so the restart batch runs."""
    with s.nginx(), s.updater() as updater:
        facts = s.drive("click", 1001, "wait", 1004, SUCCESS, 120000, "dump")
        if extra_check is not None:
            extra_check(facts)
        s.drive("click", 1001, "exit", 30000)
        updater.wait(30)
    s.wait_for_launcher()
    s.check_matches_server()


def empty_file(s):
    """A release with an empty file completes and installs it."""
    s.old_program()
    s.put(s.app, "empty.dat", b"this file is empty in the new release\r\n")
    s.new_release(extra=[("empty.dat", b"")])

    def listed(facts):
        names = [r[0] for r in rows(facts)]
        check("empty.dat" in names, "rows: %r" % (names,))
    update_and_restart(s, listed)
    check(os.path.getsize(os.path.join(s.app, "empty.dat")) == 0, "empty.dat is not empty")


def capital_digests(s):
    """Digests printed in capitals: the update succeeds and a second run is up to date."""
    s.old_program()
    s.new_release()
    manifest = os.path.join(s.update, "UpDate.ini")
    with open(manifest, "rb") as f:
        lines = f.read().split(b"\n")
    lines = [name + b"\t" + digest.upper() for name, _, digest in (line.partition(b"\t") for line in lines)
             if name] + [b""]
    with open(manifest, "wb") as f:
        f.write(b"\n".join(lines))
    release.sign_manifest(s.update, s.args.sign_key)
    update_and_restart(s)
    with s.nginx(), s.updater() as updater:
        facts = s.drive("click", 1001, "wait", 1004, NEWEST, 60000, "dump")
        check(fact(facts, "rows") == "0", "the second run downloads nothing")
        s.drive("click", 1002, "exit", 30000)
        updater.wait(30)


def portal_page(s):
    """A 200 web page in place of UpDate.ini (signed, so only its content is judged)."""
    def spoil(s):
        with open(os.path.join(s.update, "UpDate.ini"), "wb") as f:
            f.write(b"<html><head><title>Wi-Fi</title></head><body>Please log in</body></html>\n")
        release.sign_manifest(s.update, s.args.sign_key)
    refused_release(s, spoil)


def retry_after_pending_updater(s):
    """A failed run leaves a batch that swaps in its verified Updater.exe.tmp; the
    retry fetches Updater.exe again whole (no ranges) and is closed halfway. The batch
    on disk must not put that half file in the updater's place."""
    s.old_program()
    cut = "cut.dat"
    s.new_release(extra=[(cut, b"cut me short " * 20000)])
    url = "/zorvik/Wakfu/Update/" + cut
    batch = os.path.join(s.app, "delete.bat")
    pending = os.path.join(s.app, "Updater.exe.tmp")
    new_updater = os.path.join(s.update, "Updater.exe")
    with s.updater() as updater:
        with CutOnceUpstream(s.root, [url]) as upstream, s.nginx({url: upstream.port}):
            s.drive("click", 1001, "wait", 1004, DOWNLOAD_FAILED, 120000, "dump")
        with open(batch, "rb") as f:
            check(b"rename" in f.read(), "the failed run should leave a batch that swaps in the updater")
        with s.nginx(rate="100k", ranges=False):
            # Several files are fetched at once, so the current-file label may already
            # name another one: the partial Updater.exe.tmp itself shows the retry is
            # in the middle of the updater.
            s.drive("click", 1001)
            check(wait_until(lambda: os.path.exists(pending) and 0 < os.path.getsize(pending) < os.path.getsize(new_updater), 60, 0.05),
                  "the retry should be in the middle of Updater.exe")
            s.drive("close", "exit", 15000)
            s.ended_cleanly(updater)
    s.wait_for_launcher()  # the earlier run's restart of the launcher still happens
    with open(os.path.join(s.app, "Updater.exe"), "rb") as f:
        check(f.read() == s.updater_bytes, "Updater.exe must stay the old, whole program")


def second_start(s):
    """A second updater over the same folder brings the first dialog back and ends;
    one over another folder runs beside it."""
    s.old_program()
    s.same_release()
    other = os.path.join(s.work, "other app")
    shutil.copytree(s.app, other)
    with s.nginx(), s.updater() as first:
        s.drive("minimize")
        with s.updater() as second:
            s.ended_cleanly(second, 60)
        facts = s.probe_only("dialogs", 1, 10000, "find", 10000, "dump")
        check(fact(facts, "iconic") == "0", "the first dialog should be restored")
        with s.updater(other) as beside:
            s.probe_only("dialogs", 2, 60000)
            s.probe_only("closeall", "dialogs", 0, 30000)
            s.ended_cleanly(beside)
        s.ended_cleanly(first)


LONG_FOLDER = ["长路径的程序目录" * 6 + "更新"] * 4  # 4 x 50 characters
LONG_NAME = "data\\" + "地图资源文件" * 7 + "\\" + "很长的文件名" * 6 + ".bin"


def long_folder(s):
    """A program folder of 200 Chinese characters (the whole program path still within
    MAX_PATH, as the system can start no program from a longer one), and a file whose
    path below it passes MAX_PATH and whose URL passes 259 characters once
    percent-encoded: the update completes and restarts the launcher."""
    base = tempfile.mkdtemp(prefix="vl", dir="/tmp")  # short, so the program path fits
    try:
        s.app = os.path.join(base, *LONG_FOLDER)
        os.makedirs(s.app)
        s.old_program()
        s.new_release(extra=[(LONG_NAME, b"deep file\r\n" * 500)])
        update_and_restart(s)
    finally:
        shutil.rmtree(base, ignore_errors=True)


def slow_update_log(s):
    """The dialog shows while the update log is still on its way; the log follows."""
    s.old_program()
    s.same_release()
    s.put(s.app, "Update_Logo.txt", "旧的更新日志\n".encode("gbk"))
    url = "/zorvik/Wakfu/UpdateLog/UpdateLog.ini"
    with StallingUpstream("新的更新日志\n".encode("gbk")) as upstream, s.nginx({url: upstream.port}), \
            s.updater() as updater:
        facts = s.drive("dump")
        waiting, gave_up = upstream.waiting, upstream.gave_up
        check(gave_up == 0 and waiting == 1,
              "the dialog showed only after the log request had ended (waiting %d, gave up %d)" % (waiting, gave_up))
        check(fact(facts, "log") == "旧的更新日志\\r\\n", "the earlier copy is shown meanwhile: %r" % fact(facts, "log"))
        upstream.release()
        s.drive("wait", 1017, "新的更新日志\\r\\n", 30000)
        s.drive("close", "exit", 15000)
        s.ended_cleanly(updater)


SCENARIOS = {f.__name__: f for f in (full_update, nothing_to_update, no_network, cut_short, close_during_run,
                                     tampered_manifest, missing_signature, foreign_signature, empty_file,
                                     capital_digests, portal_page, retry_after_pending_updater, second_start,
                                     long_folder, slow_update_log)}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("scenario", choices=sorted(SCENARIOS))
    for option in ("--port", "--updater", "--probe", "--launcher", "--work", "--wine", "--sign-key"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    args.port = int(args.port)
    scenario = Scenario(args)
    try:
        SCENARIOS[args.scenario](scenario)
    except AssertionError as failure:
        print("FAILED: %s" % failure)
        return 1
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
