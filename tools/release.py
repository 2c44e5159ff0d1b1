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


if __name__ == "__main__":
    main()
