#!/usr/bin/env python3
"""The release folder and its installer under Wine.

    run_installer_test.py --dist D --arch x86|amd64 --version V --click C --port P
                          --work W --wine X

D is a release folder made by make_dist.py whose SEWI.bin names 127.0.0.1:P. Checks:
Velmora/ holds exactly the shipped files and the portable zip the same bytes; the
installer, silent, installs every file into a chosen folder (a Chinese name), makes the
shortcuts and the Add/Remove Programs entry; the installed Velmora.exe, started in its
folder as the shortcuts start it, passes its version check against nginx and opens
its window; the silent uninstaller removes the program files, the shortcuts and the
entry and keeps the player's user folder. A second silent install without /D= lands
in Program Files and uninstalls without a trace. Needs an X display and WINEPREFIX.
"""
import argparse
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

sys.dont_write_bytecode = True  # keep the source folders clean
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "updater_e2e"))
from e2e_support import Nginx, end_wine_programs, stop, wait_until  # noqa: E402
from tree_files import files_of  # noqa: E402  (beside this script)

SHIPPED = {"Velmora.exe", "Updater.exe", "CrashReport.dll", "Velmora.ico", "SEWI.bin", os.path.join("skin", "Wakfu.ui")}
# Chinese, and without blanks: wine passes an argument with a blank in quotes, and the
# installer reads /D= only unquoted (as on Windows, where it is typed bare).
CHOSEN = "C:\\游戏\\Velmora安装"
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velmora"


class Run:
    def __init__(self, args):
        self.args, self.failures = args, []
        self.prefix = os.environ.get("WINEPREFIX", "")
        if not self.prefix or not os.path.isdir(os.path.join(self.prefix, "drive_c")):
            raise RuntimeError("no Wine prefix in WINEPREFIX")
        self.program = os.path.join(args.dist, "Velmora")
        self.setup = os.path.join(args.dist, "Velmora-%s-setup.exe" % args.version)
        self.zip = os.path.join(args.dist, "Velmora-%s-portable.zip" % args.version)
        shutil.rmtree(args.work, ignore_errors=True)
        os.makedirs(args.work)

    def check(self, condition, what):
        print(("ok: " if condition else "FAILED: ") + what)
        if not condition:
            self.failures.append(what)

    def unix(self, windows_path):
        assert windows_path[:3].upper() == "C:\\"
        return os.path.join(self.prefix, "drive_c", *windows_path[3:].split("\\"))

    def wine(self, *command, cwd=None, timeout=180):
        return subprocess.run([self.args.wine, *command], cwd=cwd, stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout).returncode

    def registry(self):
        """{value name: data} of the Add/Remove Programs entry, empty when it is missing.
        Output goes through a file: Wine helpers would hold a pipe open."""
        view = "/reg:64" if self.args.arch == "amd64" else "/reg:32"
        with tempfile.TemporaryFile() as out:
            code = subprocess.run([self.args.wine, "reg", "query", UNINSTALL_KEY, view], stdin=subprocess.DEVNULL,
                                  stdout=out, stderr=subprocess.DEVNULL, timeout=120).returncode
            out.seek(0)
            text = out.read().decode("gbk", "replace")
        values = {}
        for line in text.splitlines() if code == 0 else []:
            parts = line.strip().split(None, 2)
            if len(parts) == 3 and parts[1].startswith("REG_"):
                values[parts[0]] = parts[2]
        return values

    def shortcuts(self):
        drive = os.path.join(self.prefix, "drive_c")
        return sorted(os.path.relpath(p, drive) for p in glob.glob(os.path.join(drive, "**", "*.lnk"), recursive=True)
                      if "Velmora" in os.path.basename(p))

    def uninstall(self, folder, finished):
        """Uninstall.exe /S copies itself away and returns at once: wait (bounded) until
        `finished()` tells that its work, which ends with the install folder, is done."""
        self.check(self.wine(folder + "\\Uninstall.exe", "/S") == 0, "the uninstaller starts")
        return wait_until(finished, 120)

    # ---------------------------------------------------------------------------------
    def check_release_folder(self):
        shipped = files_of(self.program)
        self.check(set(shipped) == SHIPPED, "Velmora/ holds exactly the shipped files: %s" % sorted(shipped))
        self.check(shipped.get("SEWI.bin", b"").endswith(b"^"), "SEWI.bin is written")
        with zipfile.ZipFile(self.zip) as archive:
            zipped = {n: archive.read(n) for n in archive.namelist() if not n.endswith("/")}
        expected = {"Velmora/" + k.replace(os.sep, "/"): v for k, v in shipped.items()}
        self.check(zipped == expected, "the portable zip holds the folder as Velmora/...: %s" % sorted(zipped))

    def install_into_chosen_folder(self):
        self.check(self.wine(self.setup, "/S", "/D=" + CHOSEN, timeout=300) == 0, "the silent install ends with 0")
        folder = self.unix(CHOSEN)
        installed = files_of(folder) if os.path.isdir(folder) else {}
        self.check("Uninstall.exe" in installed, "the uninstaller is in the install folder")
        installed.pop("Uninstall.exe", None)
        self.check(installed == files_of(self.program), "every shipped file is installed, byte for byte: %s"
                   % sorted(installed))
        links = self.shortcuts()
        print("  shortcuts: %s" % links)
        self.check(any("Desktop" in p and p.endswith("Velmora.lnk") for p in links), "a desktop shortcut")
        self.check(any("Start Menu" in p and p.endswith(os.path.join("Velmora", "Velmora.lnk")) for p in links),
                   "a Start-menu shortcut")
        self.check(any("Start Menu" in p and "卸载" in p for p in links), "a Start-menu uninstall shortcut")
        for link in links:
            with open(os.path.join(self.prefix, "drive_c", link), "rb") as f:
                data = f.read()
            self.check(CHOSEN.encode("utf-16-le") in data or CHOSEN.encode("gbk") in data,
                       "%s points into the install folder" % link)
        entry = self.registry()
        print("  Add/Remove Programs: %s" % entry)
        self.check(entry.get("DisplayName") == "Velmora", "registered as Velmora")
        self.check(entry.get("DisplayVersion") == self.args.version, "with its version")
        self.check(bool(entry.get("Publisher")), "with a publisher")
        self.check(entry.get("DisplayIcon", "").endswith("\\Velmora.ico"), "with its icon")
        self.check("Uninstall.exe" in entry.get("UninstallString", ""), "with its uninstaller")
        self.check("/S" in entry.get("QuietUninstallString", ""), "with a silent uninstall command")

    def run_installed_launcher(self):
        served = os.path.join(self.args.work, "served")
        version = os.path.join(served, "zorvik", "Wakfu", "Version")
        os.makedirs(version)
        with open(os.path.join(version, "server_version.ini"), "wb") as f:
            f.write(self.args.version.encode() + b"\r\n")
        folder = self.unix(CHOSEN)
        launcher = None
        with Nginx(os.path.join(self.args.work, "nginx"), served, self.args.port):
            try:
                # Started in its folder, as the shortcuts start it.
                launcher = subprocess.Popen([self.args.wine, CHOSEN + "\\Velmora.exe"], cwd=folder,
                                            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                            stderr=subprocess.DEVNULL)
                self.check(self.wine(self.args.click, "ZorvikUIFram") == 0,
                           "the installed launcher passes its version check and opens its window")
                self.check(os.path.exists(os.path.join(folder, "server_version.ini")),
                           "it fetched the version file from the local server")
            finally:
                stop(launcher)
                self.check(end_wine_programs("Velmora.exe"), "no launcher is left running")
        self.check(os.path.isdir(os.path.join(folder, "user")), "the launcher made its user folder")
        os.makedirs(os.path.join(folder, "user"), exist_ok=True)
        with open(os.path.join(folder, "user", "player-note.txt"), "wb") as f:
            f.write(b"kept\r\n")

    def uninstall_chosen_folder(self):
        folder = self.unix(CHOSEN)
        user_before = files_of(os.path.join(folder, "user"))
        def remaining():
            return sorted(os.listdir(folder)) if os.path.isdir(folder) else []

        self.check(self.uninstall(CHOSEN, lambda: remaining() == ["user"]), "the silent uninstall finishes")
        left = remaining()
        self.check(left == ["user"], "only the user folder is left: %s" % left)
        self.check(files_of(os.path.join(folder, "user")) == user_before, "the user folder is kept as it was")
        self.check(self.shortcuts() == [], "the shortcuts are gone: %s" % self.shortcuts())
        self.check(self.registry() == {}, "the Add/Remove Programs entry is gone")

    def install_into_default_folder(self):
        self.check(self.wine(self.setup, "/S", timeout=300) == 0, "the silent install without /D= ends with 0")
        default = "C:\\Program Files\\Velmora" if self.args.arch == "amd64" else "C:\\Program Files (x86)\\Velmora"
        if not os.path.isdir(self.unix(default)) and self.args.arch == "x86":
            default = "C:\\Program Files\\Velmora"  # a 32-bit Windows has no "(x86)" folder
        installed = files_of(self.unix(default)) if os.path.isdir(self.unix(default)) else {}
        self.check(set(installed) == SHIPPED | {"Uninstall.exe"}, "the default folder is %s" % default)
        self.check(self.uninstall(default, lambda: not os.path.exists(self.unix(default))),
                   "its silent uninstall removes a folder never run in entirely")
        self.check(self.shortcuts() == [] and self.registry() == {}, "no shortcut or entry is left")

    def run(self):
        self.check_release_folder()
        self.install_into_chosen_folder()
        self.run_installed_launcher()
        self.uninstall_chosen_folder()
        self.install_into_default_folder()
        return 1 if self.failures else 0


def main():
    parser = argparse.ArgumentParser()
    for option in ("--dist", "--arch", "--version", "--click", "--port", "--work", "--wine"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    args.port = int(args.port)
    code = Run(args).run()
    print("passed" if code == 0 else "failed")
    return code


if __name__ == "__main__":
    sys.exit(main())
