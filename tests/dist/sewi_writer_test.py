#!/usr/bin/env python3
"""tools/sewi.py against the launcher's reader: SEWI.bin files written by the Python
writer are read back by sewi_reader.exe (the launcher's LoadScrambledText) under Wine.

    sewi_writer_test.py --reader sewi_reader.exe --work W --wine tools/wine-exec.sh
"""
import argparse
import os
import shutil
import subprocess
import sys

sys.dont_write_bytecode = True  # keep the source folders clean
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import sewi  # noqa: E402

ADDRESSES = [
    "http://update.velmora.cn/zorvik/Wakfu/",
    "http://127.0.0.1:18080/zorvik/Wakfu/",
    # Past the key's 212 characters, so the key wraps around.
    "http://cdn.example.cn/" + "long-path/" * 30 + "zorvik/Wakfu/",
    # A path in code page 936: the bytes above 127 survive the round trip.
    "http://更新.example.cn/佐维克/Wakfu/",
]


def main():
    parser = argparse.ArgumentParser()
    for option in ("--reader", "--work", "--wine"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    shutil.rmtree(args.work, ignore_errors=True)
    failures = 0
    for i, address in enumerate(ADDRESSES):
        folder = os.path.join(args.work, str(i))
        os.makedirs(folder)
        shutil.copy(args.reader, os.path.join(folder, "sewi_reader.exe"))
        sewi.write_sewi(address, os.path.join(folder, "SEWI.bin"))
        content = open(os.path.join(folder, "SEWI.bin"), "rb").read()
        if not content.endswith(b"^") or content.strip(b"0123456789^"):
            print("FAILED: %r: SEWI.bin is not caret-terminated decimal numbers: %r" % (address, content[:40]))
            failures += 1
            continue
        code = subprocess.run([args.wine, "sewi_reader.exe", "decoded.hex"], cwd=folder, stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120).returncode
        decoded = open(os.path.join(folder, "decoded.hex")).read() if code == 0 else ""
        expected = address.encode("gbk").hex()
        if decoded != expected:
            print("FAILED: %r: the launcher reads %r, expected %r (reader exit %d)" % (address, decoded, expected, code))
            failures += 1
        else:
            print("ok: %s" % address)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
