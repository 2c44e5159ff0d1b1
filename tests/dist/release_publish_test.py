#!/usr/bin/env python3
"""tools/release.py publish without Wine: the tree it writes, its refusals (each with a
message and a non-zero exit, the content root untouched), a failure half-way that
leaves the previous release served, and the older Update-folder form."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True  # keep the source folders clean
TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools")
sys.path.insert(0, TOOLS)
import release  # noqa: E402
from tree_files import files_of as snapshot, put  # noqa: E402  (beside this script)

RELEASE = os.path.join(TOOLS, "release.py")


class PublishTest(unittest.TestCase):
    def setUp(self):
        self.temp = tempfile.TemporaryDirectory()
        self.addCleanup(self.temp.cleanup)
        self.program = os.path.join(self.temp.name, "Velmora")
        self.root = os.path.join(self.temp.name, "content")
        put(self.program, "Velmora.exe", b"MZ launcher")
        put(self.program, "Updater.exe", b"MZ updater")
        put(self.program, "skin/Wakfu.ui", b"PK skin")
        put(self.program, "数据/地图.bin", b"map")

    def run_publish(self, *args, folder=None):
        return subprocess.run([sys.executable, RELEASE, "publish", folder or self.program, self.root, *args],
                              stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=60)

    def assert_refused(self, result, *words):
        self.assertNotEqual(result.returncode, 0, result.stdout)
        for word in words:
            self.assertIn(word, result.stderr)

    def test_writes_the_whole_tree(self):
        notes = os.path.join(self.temp.name, "notes.txt")
        with open(notes, "w", encoding="utf-8") as f:
            f.write("Velmora 2.0.1 更新日志\n修复了地图加载问题\n")
        result = self.run_publish("--version", "2.0.1.0", "--log", notes)
        self.assertEqual(result.returncode, 0, result.stderr)
        tree = snapshot(self.root)
        manifest = tree.pop(os.path.join("Update", "UpDate.ini"))
        self.assertEqual(manifest, release.manifest_bytes(self.program))
        self.assertIn("数据\\地图.bin\t".encode("gbk"), manifest)
        self.assertEqual(tree.pop(os.path.join("Version", "server_version.ini")), b"2.0.1.0\r\n")
        self.assertEqual(tree.pop(os.path.join("UpdateLog", "UpdateLog.ini")),
                         "Velmora 2.0.1 更新日志\r\n修复了地图加载问题\r\n".encode("gbk"))
        self.assertEqual(tree, {os.path.join("Update", k): v for k, v in snapshot(self.program).items()})

    def test_a_new_release_replaces_the_old_tree(self):
        self.assertEqual(self.run_publish("--version", "2.0.1.0").returncode, 0)
        os.remove(os.path.join(self.program, "数据", "地图.bin"))
        put(self.program, "Velmora.exe", b"MZ launcher 2")
        self.assertEqual(self.run_publish("--version", "2.0.2.0").returncode, 0)
        tree = snapshot(self.root)
        self.assertNotIn(os.path.join("Update", "数据", "地图.bin"), tree, "a dropped file is no longer served")
        self.assertEqual(tree[os.path.join("Update", "Velmora.exe")], b"MZ launcher 2")
        self.assertEqual(tree[os.path.join("Version", "server_version.ini")], b"2.0.2.0\r\n")
        self.assertEqual(sorted(os.listdir(self.root)), ["Update", "UpdateLog", "Version"], "no temporary tree left")

    def test_a_build_dist_folder_stands_for_its_program_folder(self):
        dist = os.path.join(self.temp.name, "dist")
        os.makedirs(dist)
        os.rename(self.program, os.path.join(dist, "Velmora"))
        put(dist, "Velmora-2.0.0.5-setup.exe", b"installer")
        self.assertEqual(self.run_publish("--version", "2.0.0.5", folder=dist).returncode, 0)
        self.assertNotIn(os.path.join("Update", "Velmora-2.0.0.5-setup.exe"), snapshot(self.root))
        self.assertIn(os.path.join("Update", "Velmora.exe"), snapshot(self.root))

    def test_refusals_leave_the_served_release_alone(self):
        self.assertEqual(self.run_publish("--version", "2.0.1.0").returncode, 0)
        served = snapshot(self.root)
        empty = os.path.join(self.temp.name, "empty")
        os.makedirs(os.path.join(empty, "skin"))
        cases = [
            ((), ["--version is required"]),
            (("--version", "2.0.1"), ["malformed version", "'2.0.1'"]),
            (("--version", "2.0.1.x"), ["malformed version"]),
            (("--version", "2.0.1.70000"), ["malformed version"]),
            (("--version", "2.0.1.0", "--sign-key", "key.pem"), ["--sign-key"]),
        ]
        for args, words in cases:
            with self.subTest(args=args):
                self.assert_refused(self.run_publish(*args), *words)
        self.assert_refused(self.run_publish("--version", "2.0.1.0", folder=empty), "holds no files")
        self.assert_refused(self.run_publish("--version", "2.0.1.0", folder=os.path.join(self.temp.name, "none")),
                            "not a folder")
        bad_log = os.path.join(self.temp.name, "bad-notes.txt")
        with open(bad_log, "w", encoding="utf-8") as f:
            f.write("emoji 😀\n")
        self.assert_refused(self.run_publish("--version", "2.0.1.0", "--log", bad_log), "code page 936")
        self.assertEqual(snapshot(self.root), served)
        self.assertEqual(sorted(os.listdir(self.root)), ["Update", "UpdateLog", "Version"])

    def test_refuses_names_the_updater_or_the_players_systems_cannot_take(self):
        names = {
            "a:b.txt": "':'",
            "what?.txt": "'?'",
            "nul.txt": "device name",
            "data/COM1": "device name",
            "trailing.": "ending in a dot",
            "UpDate.ini": "ignores",
            "delete.bat": "writes itself",
            "back\\slash.txt": "backslash",
            "tab\there.txt": "control character",
            "😀.txt": "code page 936",
            "한국어.txt": "code page 936",
            "velmora.exe": "differ only in case",
            "Updater.exe.tmp": "temporary file",
            "/".join(["x" * 100, "y" * 100, "z" * 60]): "259",
        }
        for name, words in names.items():
            with self.subTest(name=name):
                put(self.program, name, b"x")
                try:
                    result = self.run_publish("--version", "2.0.1.0")
                finally:
                    os.remove(os.path.join(self.program, *name.split("/")))
                    for folder in ("data", "x" * 100):
                        shutil.rmtree(os.path.join(self.program, folder), ignore_errors=True)
                self.assert_refused(result, words)
                self.assertFalse(os.path.exists(os.path.join(self.root, "Update")), "nothing is written")
        self.assertEqual(self.run_publish("--version", "2.0.1.0").returncode, 0, "the clean folder publishes")

    def test_a_failure_half_way_keeps_the_previous_release(self):
        self.assertEqual(self.run_publish("--version", "2.0.1.0").returncode, 0)
        served = snapshot(self.root)
        put(self.program, "Velmora.exe", b"MZ launcher 2")
        calls = []

        def failing_signer(update_folder, key_path):
            calls.append(sorted(os.listdir(update_folder)))
            raise OSError(28, "No space left on device")

        key = os.path.join(self.temp.name, "key.pem")
        put(self.temp.name, "key.pem", b"key")
        release.sign_manifest = failing_signer
        try:
            with self.assertRaises(release.PublishError):
                release.publish(self.program, self.root, "2.0.2.0", sign_key=key)
        finally:
            del release.sign_manifest
        self.assertEqual(len(calls), 1)
        self.assertIn("UpDate.ini", calls[0], "the signer sees the written manifest")
        self.assertEqual(snapshot(self.root), served)
        self.assertEqual(sorted(os.listdir(self.root)), ["Update", "UpdateLog", "Version"])

    def test_signs_through_sign_manifest_when_release_py_has_it(self):
        def signer(update_folder, key_path):
            with open(os.path.join(update_folder, "UpDate.ini"), "rb") as f:
                put(update_folder, "UpDate.ini.sig", b"signed:" + f.read()[:20] + open(key_path, "rb").read())

        put(self.temp.name, "key.pem", b"KEY")
        release.sign_manifest = signer
        try:
            release.publish(self.program, self.root, "2.0.1.0", sign_key=os.path.join(self.temp.name, "key.pem"))
        finally:
            del release.sign_manifest
        tree = snapshot(self.root)
        self.assertTrue(tree[os.path.join("Update", "UpDate.ini.sig")].startswith(b"signed:"))
        self.assertTrue(tree[os.path.join("Update", "UpDate.ini.sig")].endswith(b"KEY"))

    def test_the_update_folder_form_still_works(self):
        update = os.path.join(self.root, "Update")
        put(update, "Velmora.exe", b"MZ")
        result = subprocess.run([sys.executable, RELEASE, update, "--version", "2.0.0.7"], capture_output=True,
                                timeout=60)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(snapshot(self.root)[os.path.join("Update", "UpDate.ini")],
                         b"Velmora.exe\t" + __import__("hashlib").md5(b"MZ").hexdigest().encode() + b"\n")
        self.assertEqual(snapshot(self.root)[os.path.join("Version", "server_version.ini")], b"2.0.0.7\r\n")


if __name__ == "__main__":
    unittest.main(verbosity=2)
