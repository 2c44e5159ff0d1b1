#!/usr/bin/env python3
"""One end-to-end scenario of the real Velmora.exe under Wine.

    run_launcher_e2e.py <scenario> --launcher V --click C --javaw J --sewi S
                        --stub-updater U --version X.Y.Z.W --work W --wine X
                        --updater T --probe P --port N

W/program holds Velmora.exe with CrashReport.dll, Velmora.ico, the skin and a
SEWI.bin naming a version server on 127.0.0.1 (served from W/server); W/game is a
game folder whose game\\jre\\win32\\x86\\bin\\javaw.exe is a stand-in that records its
command line. click_window presses the launcher's buttons at their skin positions.

  start_game     the server has the launcher's own version: the window opens with
                 the saved settings; "开始游戏" writes the game's preferences and
                 starts the game through RunGame.bat, which removes itself
  update_prompt  the server has a newer version: the update prompt comes first, and
                 its "确定" starts Updater.exe (a stand-in) and ends the launcher
  update_declined  the same prompt answered "取消": the launcher goes on to its window
  hand_over      the real programs hand over to each other: the prompt's "确定" starts
                 the real (test) Updater.exe, which updates the folder from nginx and,
                 on "更新完成", restarts the real launcher through its batch
  no_server      nothing answers: the error box comes, its "确定" ends the launcher;
                 no window, no game
  start_failed   game\\RunGame.bat cannot be written (a folder stands there): "开始游戏"
                 shows the failed-start box and the launcher keeps its window
  updater_missing  the update prompt's "确定" finds no Updater.exe: a box says so and
                 the launcher goes on to its window
  second_instance  a second Velmora.exe while the first sits in the tray: the
                 already-running box comes and the first window is shown again
  no_crash_reporter  CrashReport.dll is missing: the "CrInstall Error" box comes
  broken_skin    skin\\Wakfu.ui is not an archive: a box says so; no window
With VELMORA_SHOTS set to a folder, the boxes are photographed into it.
Needs an X display and a Wine prefix.
"""
import argparse
import contextlib
import glob
import http.server
import os
import shutil
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # keep the source folders clean
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "updater_e2e"))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import release  # noqa: E402
from e2e_support import Nginx, ServedInThread, end_wine_programs, fact, probe, stop, wait_until  # noqa: E402

# Client positions of buttons in the skin: "btnStartGame" in the main window, and
# "yesBtn" in the normal-size message box with and without its cancel button.
START_BUTTON = (884, 556)
CLOSE_BUTTON = (994, 30)
BOX_YES_WITH_CANCEL = (130, 182)
BOX_YES_ALONE = (190, 182)
BOX_CANCEL = (250, 182)
JAVAW = ("game", "jre", "win32", "x86", "bin")


def win(path):
    return "Z:" + path.replace("/", "\\")


class VersionServer(ServedInThread):
    """Serves the files of `root` on a free 127.0.0.1 port, in a thread."""

    def __init__(self, root):
        class Handler(http.server.SimpleHTTPRequestHandler):
            def __init__(self, *args, **kwargs):
                super().__init__(*args, directory=root, **kwargs)

            def log_message(self, *args):
                pass

        super().__init__(Handler)


class Scenario:
    def __init__(self, args):
        self.args = args
        self.work = args.work
        shutil.rmtree(self.work, ignore_errors=True)
        self.program = os.path.join(self.work, "program")
        self.game = os.path.join(self.work, "game")
        self.server_root = os.path.join(self.work, "server")
        self.javaw_folder = os.path.join(self.game, *JAVAW)
        self.record = os.path.join(self.javaw_folder, "javaw-record.txt")
        self.script = os.path.join(self.game, "game", "RunGame.bat")
        self.updater_mark = os.path.join(self.program, "launcher-ran.txt")
        self.failures = []
        prefix = os.environ.get("WINEPREFIX", "")
        homes = [p for p in glob.glob(os.path.join(prefix, "drive_c", "users", "*", "AppData", "Local"))
                 if os.sep + "Public" + os.sep not in p]
        if not prefix or not homes:
            raise RuntimeError("no Wine prefix with a user folder in WINEPREFIX")
        self.prefs = os.path.join(homes[0], "Ankama", "WakfuChina", "game", "preferences",
                                  "userPreferences.properties")

    def check(self, condition, what):
        if not condition:
            self.failures.append(what)
            print("FAILED: " + what)

    def wine(self, *command, timeout=120, cwd=None):
        return subprocess.run([self.args.wine, *command], cwd=cwd, stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout).returncode

    def prepare(self, server_version, port):
        bin_folder = os.path.dirname(self.args.launcher)
        os.makedirs(os.path.join(self.program, "user", "default"))
        for name in ("Velmora.exe", "CrashReport.dll", "Velmora.ico"):
            shutil.copy(os.path.join(bin_folder, name), self.program)
        shutil.copytree(os.path.join(bin_folder, "skin"), os.path.join(self.program, "skin"))
        shutil.copy(self.args.stub_updater, os.path.join(self.program, "Updater.exe"))
        base = "http://127.0.0.1:%d/zorvik/Wakfu/" % port
        if self.wine(self.args.sewi, base, win(os.path.join(self.program, "SEWI.bin"))) != 0:
            raise RuntimeError("make_sewi failed")
        version = os.path.join(self.server_root, "zorvik", "Wakfu", "Version")
        os.makedirs(version)
        with open(os.path.join(version, "server_version.ini"), "wb") as f:
            f.write(b"1.0.0.0\r\n" + server_version.encode() + b"\r\n")

        os.makedirs(self.javaw_folder)
        shutil.copy(self.args.javaw, os.path.join(self.javaw_folder, "javaw.exe"))
        with open(os.path.join(self.game, "game", "config.properties"), "wb") as f:
            f.write(b"cameraMinZoom=1.0\r\n")
        # Not a first run: the saved settings are applied and carried into the game.
        open(os.path.join(self.program, "user", "default", "config.ini"), "wb").close()
        with open(os.path.join(self.program, "user", "ResInfo.ini"), "wb") as f:
            f.write(("[GamePath]\r\nPath=%s\r\n[StartMode]\r\nisCheck=1\r\n[StartModel]\r\nStartModel=1\r\n"
                     "[Resolution]\r\nResolution=3\r\n[WindowsStyle]\r\nWindowsStyle=1\r\n"
                     "[CloseOrMin]\r\nisCheck=c\r\n" % win(self.game)).encode("gbk"))
        os.makedirs(os.path.dirname(self.prefs), exist_ok=True)
        with open(self.prefs, "wb") as f:
            f.write(b"resolution=800x600\r\nmusicMute=true\r\n")

    def shot(self, name):
        folder = os.environ.get("VELMORA_SHOTS")
        if folder:
            os.makedirs(folder, exist_ok=True)
            subprocess.run(["import", "-window", "root", os.path.join(folder, name + ".png")], timeout=60)

    def click(self, window_class, *points):
        coordinates = [str(v) for point in points for v in point]
        return self.wine(self.args.click, window_class, *coordinates)

    def preferences(self):
        with open(self.prefs, "rb") as f:
            return f.read().decode("gbk").split("\r\n")

    def run(self, scenario):
        own = self.args.version
        newer = ".".join(own.split(".")[:-1] + [str(int(own.split(".")[-1]) + 1)])
        if scenario == "hand_over":
            return self.hand_over(newer)
        server = VersionServer(self.server_root)
        if scenario in ("no_crash_reporter", "broken_skin", "second_instance", "start_failed"):
            return self.broken_start(scenario, server)
        if scenario == "no_server":
            server.server.server_close()  # the port stays named in SEWI.bin, nothing answers
            server = contextlib.nullcontext(server)
        with server as serving:
            self.prepare(newer if scenario.startswith("update_") or scenario == "updater_missing" else own,
                         serving.port)
            if scenario == "updater_missing":
                os.remove(os.path.join(self.program, "Updater.exe"))
            launcher = subprocess.Popen([self.args.wine, "Velmora.exe"], cwd=self.program,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
            try:
                getattr(self, scenario)(launcher)
            finally:
                stop(launcher)
                self.check(end_wine_programs("Velmora.exe"), "no launcher is left running")
                if os.path.exists(self.prefs):
                    os.remove(self.prefs)
        return 1 if self.failures else 0

    def start_game(self, launcher):
        self.check(self.click("ZorvikUIFram") == 0, "the launcher window appears")
        self.check(self.click("ZorvikUIFram", START_BUTTON) == 0, "the start button can be pressed")
        self.check(wait_until(lambda: os.path.exists(self.record), 60), "the game is started")
        if not os.path.exists(self.record):
            return
        with open(self.record, "rb") as f:
            command, folder = f.read().decode("utf-8").split("\n")[:2]
        game = win(self.game)
        self.check(command.startswith('"%s\\game\\jre\\win32\\x86\\bin\\javaw.exe" ' % game),
                   "javaw.exe of the game folder runs: " + command[:120])
        self.check(folder.rstrip("\\").lower() == (game + "\\game").lower(), "the game runs in its folder: " + folder)
        self.check(" -Xmx" in command and "com.ankamagames.wakfu.client.WakfuClient" in command,
                   "the memory profile and the client class are passed")
        self.check(command.endswith("--install-folder " + game.replace("\\", "/") + "/game"),
                   "the install folder ends the command line")
        self.check(wait_until(lambda: not os.path.exists(self.script), 20), "RunGame.bat removes itself")
        lines = self.preferences()
        self.check("resolution=1280x1024x32x60x0" in lines and "resolution=800x600" not in lines,
                   "the saved resolution replaces the game's: %s" % lines)
        self.check("musicMute=false" in lines and "musicMute=true" not in lines,
                   "the sound settings are carried in: %s" % lines)
        self.check(not os.path.exists(self.updater_mark), "no update is started")

    def update_prompt(self, launcher):
        self.check(self.click("MessageWnd") == 0, "the update prompt appears")
        self.check(self.click("MessageWnd", BOX_YES_WITH_CANCEL) == 0, "its 确定 can be pressed")
        self.check(wait_until(lambda: os.path.exists(self.updater_mark), 60), "Updater.exe is started")
        self.check(wait_until(lambda: launcher.poll() is not None, 60), "the launcher ends")
        self.check(not os.path.exists(self.record), "the game is not started")

    def update_declined(self, launcher):
        self.check(self.click("MessageWnd") == 0, "the update prompt appears")
        self.check(self.click("MessageWnd", BOX_CANCEL) == 0, "its 取消 can be pressed")
        self.check(self.click("ZorvikUIFram") == 0, "the launcher window opens after all")
        self.check(not os.path.exists(self.updater_mark), "no update is started")
        self.check(launcher.poll() is None, "the launcher keeps running")

    def hand_over(self, newer):
        """Both real programs on one nginx: the base the launcher asks for its version
        is the one built into the test Updater.exe."""
        port = int(self.args.port)
        update = os.path.join(self.server_root, "zorvik", "Wakfu", "Update")
        self.prepare(newer, port)
        shutil.copy(self.args.updater, os.path.join(self.program, "Updater.exe"))
        shutil.copytree(self.program, update, ignore=shutil.ignore_patterns("user", "SEWI.bin"))
        new_file = os.path.join(update, "data", "交接.bin")
        os.makedirs(os.path.dirname(new_file))
        with open(new_file, "wb") as f:
            f.write(b"handed over\r\n" * 100)
        release.write_release(update, log_text="交接\n")
        release.sign_manifest(update, self.args.sign_key)  # the test Updater.exe trusts only signed releases
        launcher = None
        with Nginx(os.path.join(self.work, "nginx"), self.server_root, port):
            try:
                launcher = subprocess.Popen([self.args.wine, "Velmora.exe"], cwd=self.program,
                                            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                            stderr=subprocess.DEVNULL)
                self.check(self.click("MessageWnd") == 0, "the update prompt appears")
                self.check(self.click("MessageWnd", BOX_YES_WITH_CANCEL) == 0, "its 确定 can be pressed")
                code, facts = probe(self.args.wine, self.args.probe, "find", 60000, "click", 1001,
                                    "wait", 1004, "更新成功.", 120000, "dump", "click", 1001, "exit", 60000)
                self.check(code == 0, "the updater updates and ends: %s" % facts)
                self.check(fact(facts, "count") == "1个(当前已下载文件个数)/1个(总文件个数)",
                           "only the new file is fetched: %s" % fact(facts, "count"))
                self.check(wait_until(lambda: launcher.poll() is not None, 30), "the first launcher ended")
                installed = os.path.join(self.program, "data", "交接.bin")
                self.check(os.path.exists(installed), "the new file is installed")
                # The server still names a newer version, so the restarted launcher asks again.
                self.check(self.click("MessageWnd") == 0, "the restarted launcher asks again")
                self.check(self.click("MessageWnd", BOX_CANCEL) == 0, "its 取消 can be pressed")
                self.check(self.click("ZorvikUIFram") == 0, "the restarted launcher opens its window")
                self.check(not os.path.exists(os.path.join(self.program, "delete.bat")), "delete.bat is gone")
            finally:
                stop(launcher)
                # The restarted launcher is no child of this script; a launcher left
                # running would answer the next scenario's start as its first instance.
                self.check(end_wine_programs("Velmora.exe"), "no launcher is left running")
                if os.path.exists(self.prefs):
                    os.remove(self.prefs)
        return 1 if self.failures else 0

    def start_launcher(self):
        return subprocess.Popen([self.args.wine, "Velmora.exe"], cwd=self.program, stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def broken_start(self, scenario, server):
        launchers = []
        with server as serving:
            self.prepare(self.args.version, serving.port)
            try:
                if scenario == "no_crash_reporter":
                    os.remove(os.path.join(self.program, "CrashReport.dll"))
                elif scenario == "broken_skin":
                    with open(os.path.join(self.program, "skin", "Wakfu.ui"), "wb") as f:
                        f.write(b"not an archive")
                elif scenario == "start_failed":
                    os.makedirs(self.script)
                launchers.append(self.start_launcher())
                getattr(self, scenario)(launchers)
            finally:
                for launcher in reversed(launchers):
                    stop(launcher)
                self.check(end_wine_programs("Velmora.exe"), "no launcher is left running")
                if os.path.exists(self.prefs):
                    os.remove(self.prefs)
        return 1 if self.failures else 0

    def no_crash_reporter(self, launchers):
        self.check(self.click("#32770") == 0, "the CrInstall Error box appears")
        self.shot("no-crash-reporter")
        self.check(launchers[0].poll() is None, "the launcher waits on its box")

    def broken_skin(self, launchers):
        self.check(self.click("#32770") == 0, "the skin error box appears")
        self.shot("broken-skin")

    def start_failed(self, launchers):
        self.check(self.click("ZorvikUIFram") == 0, "the launcher window appears")
        self.check(self.click("ZorvikUIFram", START_BUTTON) == 0, "the start button can be pressed")
        self.check(self.click("MessageWnd") == 0, "the failed-start box appears")
        self.shot("failed-start-box")
        self.check(self.click("MessageWnd", BOX_YES_ALONE) == 0, "its 确定 can be pressed")
        self.check(self.click("ZorvikUIFram") == 0, "the launcher keeps its window")
        self.check(not os.path.exists(self.record), "the game is not started")
        self.check(launchers[0].poll() is None, "the launcher keeps running")

    def second_instance(self, launchers):
        self.check(self.click("ZorvikUIFram") == 0, "the first launcher's window appears")
        # The saved close choice is "c" here: "m" sends the window to the tray instead.
        with open(os.path.join(self.program, "user", "ResInfo.ini"), "rb") as f:
            text = f.read().replace(b"isCheck=c", b"isCheck=m")
        with open(os.path.join(self.program, "user", "ResInfo.ini"), "wb") as f:
            f.write(text)
        self.check(self.click("ZorvikUIFram", CLOSE_BUTTON) == 0, "its close button can be pressed")
        launchers.append(self.start_launcher())
        self.check(self.click("#32770") == 0, "the second start shows the already-running box")
        self.check(self.click("ZorvikUIFram") == 0, "the first window is shown again")
        self.shot("second-instance")
        self.check(launchers[0].poll() is None, "the first launcher keeps running")

    def updater_missing(self, launcher):
        self.check(self.click("MessageWnd") == 0, "the update prompt appears")
        self.check(self.click("MessageWnd", BOX_YES_WITH_CANCEL) == 0, "its 确定 can be pressed")
        time.sleep(2)  # the prompt closes first; the next box is the updater's
        self.check(self.click("MessageWnd") == 0, "the updater-missing box appears")
        self.shot("updater-missing")
        self.check(self.click("MessageWnd", BOX_YES_ALONE) == 0, "its 确定 can be pressed")
        self.check(self.click("ZorvikUIFram") == 0, "the launcher goes on to its window")
        self.check(launcher.poll() is None, "the launcher keeps running")

    def no_server(self, launcher):
        self.check(self.click("MessageWnd") == 0, "the error box appears")
        self.check(self.click("MessageWnd", BOX_YES_ALONE) == 0, "its 确定 can be pressed")
        self.check(wait_until(lambda: launcher.poll() is not None, 60), "the launcher ends")
        self.check(not os.path.exists(self.record), "the game is not started")
        self.check(not os.path.exists(self.updater_mark), "no update is started")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("scenario", choices=["start_game", "update_prompt", "update_declined", "hand_over", "no_server",
                                             "start_failed", "updater_missing", "second_instance",
                                             "no_crash_reporter", "broken_skin"])
    for option in ("launcher", "click", "javaw", "sewi", "stub-updater", "version", "work", "wine",
                   "updater", "probe", "port", "sign-key"):
        parser.add_argument("--" + option, required=True)
    args = parser.parse_args()
    return Scenario(args).run(args.scenario)


if __name__ == "__main__":
    sys.exit(main())
