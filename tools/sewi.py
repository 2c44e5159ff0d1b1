#!/usr/bin/env python3
"""Writes SEWI.bin, the file from which the launcher reads its update server's address.

    sewi.py <address> <output file>

The address is the prefix to which the launcher appends "Version/", for example
http://update.velmora.cn/zorvik/Wakfu/. Its bytes (code page 936 for anything outside
ASCII) are XOR-ed with the deployment's repeating key and written as decimal numbers,
each followed by "^". This is the same transform as make_sewi.exe, without Wine, so
the build can write the file for the shipped folder.
"""
import sys

# The deployment's key, the same 212 characters (nine of them tabs) the launcher holds.
KEY = ('e\t7z&hzQK1r]@pfgpvwsDm[otUR*)f<a2M-|*]Kox5)8%8N=5:-7%WCB!EwL'
       'WLIb4SF)s$K\tC<+7WE2\tXm>9naOQ4W^|od^comH#fx\tlw4z33>-!1TL)aR$@'
       "+\tjGK1Z6094PVe\t#_4;Mp+g6J\t'_zmy[EAe7a0=p70giH-';$OP/A4\tR[p$7"
       '\t{FqyNu|~QhY:9K[cbq{e%$;4[x@lLu7').encode("ascii")
assert len(KEY) == 212 and KEY.count(b"\t") == 9


def scramble(data):
    """Repeating-key XOR; its own inverse."""
    return bytes(byte ^ KEY[i % len(KEY)] for i, byte in enumerate(data))


def sewi_content(address):
    """The file's bytes for `address` (text, stored in code page 936)."""
    return "".join("%d^" % byte for byte in scramble(address.encode("gbk"))).encode("ascii")


def write_sewi(address, path):
    with open(path, "wb") as f:
        f.write(sewi_content(address))


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: sewi.py <address> <output file>")
    address = sys.argv[1]
    if not address:
        sys.exit("sewi.py: the address is empty")
    try:
        write_sewi(address, sys.argv[2])
    except UnicodeEncodeError:
        sys.exit("sewi.py: the address has characters outside code page 936")
    except OSError as error:
        sys.exit("sewi.py: cannot write %s: %s" % (sys.argv[2], error.strerror))


if __name__ == "__main__":
    main()
