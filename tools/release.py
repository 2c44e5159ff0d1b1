#!/usr/bin/env python3
"""Publishes a release folder for the content and update servers.

    release.py <release folder> [--version 2.0.0.7] [--log notes.txt] [--sign-key private.pem]
    release.py keygen <private.pem> <public.hex>

Writes, next to the files of <release folder>:
  UpDate.ini          the server manifest: one record per file, "name<TAB>md5<LF>",
                      names relative to the folder with backslashes, in code page 936;
                      "UpDate.ini", "UpDate.ini.sig" and "MD5.exe" are left out
  ../Version/server_version.ini  (with --version) the version line the launcher
                      compares with its own
  ../UpdateLog/UpdateLog.ini  (with --log) the update log shown in the updater,
                      converted to code page 936 with CR LF line ends
  UpDate.ini.sig      (with --sign-key) the publisher's signature of UpDate.ini

keygen makes the publisher's key pair: the private key (PEM, keep it off the
servers) and the public key as the 128 hexadecimal characters that the build takes
as VELMORA_UPDATE_PUBLIC_KEY.

The folder is the "Update" folder of the content server's base path; the log and the
version file go into its sibling folders "UpdateLog" and "Version".
"""
import argparse
import hashlib
import os
import sys


def _signing():
    """The signing module beside this file (imported on use: only signing needs
    python3-cryptography)."""
    here = os.path.dirname(os.path.abspath(__file__))
    if here not in sys.path:
        sys.path.insert(0, here)
    import release_signing
    return release_signing

# UpDate.ini.sig is the signature of the manifest, published beside it, never listed.
RESERVED = {"UpDate.ini", "UpDate.ini.sig", "MD5.exe"}


def manifest_records(folder):
    """(name, md5 hex) for every file below folder, names with backslashes."""
    records = []
    for dirpath, dirnames, filenames in os.walk(folder):
        dirnames.sort()
        for filename in sorted(filenames):
            path = os.path.join(dirpath, filename)
            name = os.path.relpath(path, folder).replace(os.sep, "\\")
            if name in RESERVED:
                continue
            with open(path, "rb") as f:
                digest = hashlib.md5(f.read()).hexdigest()
            records.append((name, digest))
    return records


def manifest_bytes(folder):
    return b"".join(name.encode("gbk") + b"\t" + digest.encode("ascii") + b"\n"
                    for name, digest in manifest_records(folder))


def write_release(folder, version=None, log_text=None):
    with open(os.path.join(folder, "UpDate.ini"), "wb") as f:
        f.write(manifest_bytes(folder))
    parent = os.path.dirname(os.path.abspath(folder))
    if version is not None:
        version_folder = os.path.join(parent, "Version")
        os.makedirs(version_folder, exist_ok=True)
        with open(os.path.join(version_folder, "server_version.ini"), "wb") as f:
            f.write(version.encode("ascii") + b"\r\n")
    if log_text is not None:
        log_folder = os.path.join(parent, "UpdateLog")
        os.makedirs(log_folder, exist_ok=True)
        lines = log_text.replace("\r\n", "\n").split("\n")
        with open(os.path.join(log_folder, "UpdateLog.ini"), "wb") as f:
            f.write("\r\n".join(lines).encode("gbk"))


def sign_manifest(update_folder, key_path):
    """Writes UpDate.ini.sig, the signature of the folder's UpDate.ini as it is."""
    _signing().sign_manifest(update_folder, key_path)


def main():
    if len(sys.argv) > 1 and sys.argv[1] == "keygen":
        _signing().keygen_main(sys.argv[2:])
        return
    if sys.argv[1:2] == ["publish"]:
        sys.exit(publish_main(sys.argv[2:]))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[1])
    parser.add_argument("folder")
    parser.add_argument("--version")
    parser.add_argument("--log", help="UTF-8 text file with the update log")
    parser.add_argument("--sign-key", help="publisher's private key (PEM); writes UpDate.ini.sig")
    args = parser.parse_args()
    if not os.path.isdir(args.folder):
        sys.exit("not a folder: " + args.folder)
    log_text = None
    if args.log:
        with open(args.log, encoding="utf-8") as f:
            log_text = f.read()
    write_release(args.folder, args.version, log_text)
    if args.sign_key:
        sign_manifest(args.folder, args.sign_key)



# --- publish: the whole content-server tree from one program folder ---------------------
# Kept apart from the Update-folder form above; both write the same formats.
import shutil  # noqa: E402
import tempfile  # noqa: E402

PUBLISH_FOLDERS = ("Update", "Version", "UpdateLog")
# Characters Windows forbids in file names, and the drive or stream colon; "/" would be
# a second separator that the server URL and the local path treat differently.
FORBIDDEN_CHARACTERS = set(':/*?"<>|')
DEVICE_NAMES = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}
# Files the programs write into their own folder while they run; a shipped file of
# that name would be overwritten or deleted on the players' machines.
WORKING_FILES = {"localdate.ini", "update_logo.txt", "delete.bat", "server_version.ini"}


class PublishError(Exception):
    """A reason not to publish, worded for the publisher."""


def name_problem(name):
    """Why the updater would refuse the relative name (backslashes between folders),
    or None when it takes it."""
    if len(name) > 259:
        return "longer than 259 characters"
    if name in RESERVED:
        return "a name the updater ignores (it would never reach the players)"
    if name.lower() in WORKING_FILES:
        return "a file the launcher or the updater writes itself while it runs"
    for c in name:
        if ord(c) < 0x20:
            return "a control character"
        if c in FORBIDDEN_CHARACTERS:
            return "the character %r, which Windows file names cannot hold" % c
    for segment in name.split("\\"):
        if segment.strip(". ") == "":
            return "a folder or file named only with dots or blanks"
        if segment[-1] in ". ":
            return "a name ending in a dot or blank, which Windows drops"
        stem = segment.split(".", 1)[0].upper()
        if stem in DEVICE_NAMES or (len(stem) == 4 and stem[:3] in ("COM", "LPT") and stem[3] in "123456789"):
            return "a device name (%s)" % stem
    try:
        name.encode("gbk")
    except UnicodeEncodeError:
        return "characters outside code page 936, which the players' systems cannot name"
    return None


def check_publishable(folder):
    """The manifest records of `folder`; raises PublishError for an empty folder, a name
    the updater would refuse, or two names only letter case tells apart."""
    records, seen, problems = [], {}, []
    for dirpath, dirnames, filenames in os.walk(folder):
        dirnames.sort()
        for filename in sorted(filenames):
            path = os.path.join(dirpath, filename)
            if os.path.islink(path) or not os.path.isfile(path):
                problems.append("%s: not a plain file" % os.path.relpath(path, folder))
                continue
            parts = os.path.relpath(path, folder).split(os.sep)
            name = "\\".join(parts)
            problem = ("a backslash inside a folder or file name" if any("\\" in p for p in parts)
                       else name_problem(name))
            if problem:
                problems.append("%s: %s" % (name, problem))
                continue
            twin = seen.setdefault(name.lower(), name)
            if twin != name:
                problems.append("%s: the same file as %s on Windows (names differ only in case)" % (name, twin))
            records.append(name)
    # The updater downloads each file into "<name>.tmp" beside its target.
    for name in records:
        if name.lower().endswith(".tmp") and name[:-4].lower() in seen:
            problems.append("%s: the updater's temporary file for %s" % (name, seen[name[:-4].lower()]))
    if problems:
        raise PublishError("cannot publish %s:\n  %s" % (folder, "\n  ".join(problems)))
    if not records:
        raise PublishError("cannot publish %s: it holds no files" % folder)
    return records


def check_version(version):
    """Four numbers of at most 65535, the form of the launcher's own FILEVERSION."""
    if version is None or version == "":
        raise PublishError("--version is required (four numbers, such as 2.0.0.7)")
    parts = version.split(".")
    if len(parts) != 4 or not all(p.isdigit() and p.isascii() and int(p) <= 65535 for p in parts):
        raise PublishError("malformed version %r: four numbers of at most 65535, such as 2.0.0.7" % version)


def update_log_bytes(log_text, version):
    """UpdateLog.ini: the notes in code page 936 with CR LF; a one-line note without them."""
    if log_text is None:
        log_text = "Velmora %s\n" % version
    lines = log_text.replace("\r\n", "\n").split("\n")
    try:
        return "\r\n".join(lines).encode("gbk")
    except UnicodeEncodeError as error:
        raise PublishError("the update log has characters outside code page 936: %r" % error.object[error.start:error.end])


def program_folder_of(folder):
    """A build's dist folder stands for the program folder Velmora inside it."""
    inner = os.path.join(folder, "Velmora")
    if not os.path.exists(os.path.join(folder, "Velmora.exe")) and os.path.exists(os.path.join(inner, "Velmora.exe")):
        return inner
    return folder


def write_publish_tree(tree, program, version, log_text, sign_key):
    """Writes Update/ (the files and UpDate.ini), Version/ and UpdateLog/ into `tree`."""
    update = os.path.join(tree, "Update")
    shutil.copytree(program, update, symlinks=False)
    with open(os.path.join(update, "UpDate.ini"), "wb") as f:
        f.write(manifest_bytes(update))
    if sign_key is not None and sign_manifest(update, sign_key) is False:
        raise PublishError("signing UpDate.ini with %s failed" % sign_key)
    os.makedirs(os.path.join(tree, "Version"))
    with open(os.path.join(tree, "Version", "server_version.ini"), "wb") as f:
        f.write(version.encode("ascii") + b"\r\n")
    os.makedirs(os.path.join(tree, "UpdateLog"))
    with open(os.path.join(tree, "UpdateLog", "UpdateLog.ini"), "wb") as f:
        f.write(update_log_bytes(log_text, version))


def swap_in(tree, root):
    """Moves the new folders of `tree` into `root`, the old ones into tree/old-<name>.
    Update goes first and Version last, so a launcher never hears of a version before
    its files are served. A failed move puts back what was moved."""
    done = []
    try:
        for name in PUBLISH_FOLDERS:
            current, new, old = os.path.join(root, name), os.path.join(tree, name), os.path.join(tree, "old-" + name)
            had_old = os.path.lexists(current)
            if had_old:
                os.rename(current, old)
            done.append((name, had_old))
            os.rename(new, current)
    except OSError:
        for name, had_old in reversed(done):
            current, new, old = os.path.join(root, name), os.path.join(tree, name), os.path.join(tree, "old-" + name)
            if os.path.exists(current) and not os.path.exists(new):
                os.rename(current, new)
            if had_old:
                os.rename(old, current)
        raise


def publish(program, root, version, log_text=None, sign_key=None):
    """Publishes the program folder as the content server tree `root` (the folder
    served as the content base). Everything is checked first, then written into a
    temporary tree inside `root` and moved into place; on any failure `root` keeps
    what it had. Raises PublishError with the reason."""
    check_version(version)
    if not os.path.isdir(program):
        raise PublishError("not a folder: %s" % program)
    program = program_folder_of(program)
    check_publishable(program)
    update_log_bytes(log_text, version)
    if sign_key is not None:
        if not os.path.isfile(sign_key):
            raise PublishError("--sign-key: no such key file: %s" % sign_key)
    root = os.path.abspath(root)
    if os.path.commonpath([root, os.path.abspath(program)]) == os.path.abspath(program):
        raise PublishError("the content root %s lies inside the program folder %s" % (root, program))
    try:
        os.makedirs(root, exist_ok=True)
        tree = tempfile.mkdtemp(prefix=".publish-", dir=root)
    except OSError as error:
        raise PublishError("cannot write into the content root %s: %s" % (root, error))
    try:
        write_publish_tree(tree, program, version, log_text, sign_key)
        swap_in(tree, root)
    except PublishError:
        raise
    except Exception as error:  # a signer's own failure counts too: nothing is swapped in
        raise PublishError("cannot write the release into %s: %s" % (root, error))
    finally:
        shutil.rmtree(tree, ignore_errors=True)
    return program


def publish_main(argv):
    parser = argparse.ArgumentParser(
        prog="release.py publish",
        description="Writes the whole content server tree (Update/, Version/, UpdateLog/) for a program folder.")
    parser.add_argument("folder", help="the program folder as shipped (a build's dist folder also does)")
    parser.add_argument("root", help="the content root: the folder served as the content base URL")
    parser.add_argument("--version", help="the version the launcher compares with its own (2.0.0.7)")
    parser.add_argument("--log", help="UTF-8 text file with the update log")
    parser.add_argument("--sign-key", help="private key that signs UpDate.ini")
    args = parser.parse_args(argv)
    try:
        log_text = None
        if args.log:
            try:
                with open(args.log, encoding="utf-8") as f:
                    log_text = f.read()
            except (OSError, UnicodeDecodeError) as error:
                raise PublishError("cannot read the update log %s: %s" % (args.log, error))
        program = publish(args.folder, args.root, args.version, log_text, args.sign_key)
    except PublishError as error:
        sys.stderr.write("release.py publish: %s\n" % error)
        return 1
    print("published %s as version %s in %s" % (program, args.version, os.path.abspath(args.root)))
    return 0


if __name__ == "__main__":
    main()
