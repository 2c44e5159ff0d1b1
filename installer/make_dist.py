#!/usr/bin/env python3
"""Makes the release folder of one build: the shipped program folder, its portable zip
and the installer.

    make_dist.py --out <dist folder> --version 2.0.0.5 --base <update server address>
                 --arch x86|amd64 --publisher <name> --makensis <makensis> --nsi <velmora.nsi>
                 --launcher Velmora.exe --updater Updater.exe --crash CrashReport.dll
                 --icon Velmora.ico --skin Wakfu.ui

Writes <dist folder>/Velmora/ (exactly the shipped files, with SEWI.bin written for
--base), Velmora-<version>-portable.zip of that folder and Velmora-<version>-setup.exe.
Everything is made in a temporary folder beside the result and moved into place at
the end, so a failed run leaves the previous release folder as it was.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

sys.dont_write_bytecode = True  # keep the source folders clean
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
import sewi  # noqa: E402

PROGRAM = "Velmora"


def shipped_files(args):
    """(name in the program folder, source path), in the order the installer lists them."""
    return [("Velmora.exe", args.launcher), ("Updater.exe", args.updater), ("CrashReport.dll", args.crash),
            ("Velmora.ico", args.icon), ("skin/Wakfu.ui", args.skin)]


def make_program_folder(folder, args):
    for name, source in shipped_files(args):
        target = os.path.join(folder, *name.split("/"))
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(source, target)
    sewi.write_sewi(args.base, os.path.join(folder, "SEWI.bin"))


def make_zip(folder, zip_path):
    """The program folder as "Velmora/..." entries, so unpacking gives one folder."""
    with zipfile.ZipFile(zip_path, "w", zipfile.ZIP_DEFLATED) as archive:
        for dirpath, dirnames, filenames in os.walk(folder):
            dirnames.sort()
            for filename in sorted(filenames):
                path = os.path.join(dirpath, filename)
                archive.write(path, PROGRAM + "/" + os.path.relpath(path, folder).replace(os.sep, "/"))


def make_installer(folder, setup_path, args):
    command = [args.makensis, "-V2", "-INPUTCHARSET", "UTF8",
               "-DVERSION=" + args.version, "-DARCH=" + args.arch, "-DPUBLISHER=" + args.publisher,
               "-DSOURCE=" + folder, "-DOUTFILE=" + setup_path, args.nsi]
    result = subprocess.run(command, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    if result.returncode != 0:
        sys.stderr.write(result.stdout.decode("utf-8", "replace"))
        sys.exit("make_dist: makensis failed (exit %d)" % result.returncode)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for option in ("out", "version", "base", "arch", "publisher", "makensis", "nsi",
                   "launcher", "updater", "crash", "icon", "skin"):
        parser.add_argument("--" + option, required=True)
    args = parser.parse_args()
    if not re.fullmatch(r"\d+\.\d+\.\d+\.\d+", args.version):
        sys.exit("make_dist: the version must be four numbers, not %r" % args.version)
    if args.arch not in ("x86", "amd64"):
        sys.exit("make_dist: --arch is x86 or amd64")
    if not args.makensis or args.makensis.endswith("NOTFOUND"):
        sys.exit("make_dist: makensis is not installed (Debian package nsis; scripts/setup.sh installs it)")

    out = os.path.abspath(args.out)
    parent = os.path.dirname(out)
    os.makedirs(parent, exist_ok=True)
    work = tempfile.mkdtemp(prefix=".dist-", dir=parent)
    try:
        program = os.path.join(work, PROGRAM)
        make_program_folder(program, args)
        make_zip(program, os.path.join(work, "%s-%s-portable.zip" % (PROGRAM, args.version)))
        make_installer(program, os.path.join(work, "%s-%s-setup.exe" % (PROGRAM, args.version)), args)
        os.chmod(work, 0o755)  # mkdtemp makes it private; the release folder is not
        if os.path.isdir(out):
            shutil.rmtree(out)
        os.rename(work, out)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("dist: %s (%s, %s)" % (out, PROGRAM, args.version))


if __name__ == "__main__":
    main()
