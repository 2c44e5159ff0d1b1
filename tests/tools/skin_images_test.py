#!/usr/bin/env python3
"""The built skin archive stores its PNGs as 8-bit RGBA with no ancillary chunks: the
form the launcher's decoder reads without a per-pixel conversion or metadata readers,
which is what keeps the main window's first paint short. Every image a layout names
is in the archive.

    skin_images_test.py <bin>/skin/Wakfu.ui
"""
import re
import struct
import sys
import unittest
import zipfile
import zlib

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
CRITICAL_ONLY = {b"IHDR", b"IDAT", b"IEND"}
ARCHIVE = sys.argv.pop(1) if len(sys.argv) > 1 else None


def png_chunks(data):
    """(type, body) of every chunk, checking each CRC; raises ValueError on a bad file."""
    if not data.startswith(PNG_SIGNATURE):
        raise ValueError("no PNG signature")
    chunks, at = [], len(PNG_SIGNATURE)
    while at < len(data):
        if at + 12 > len(data):
            raise ValueError("truncated chunk at %d" % at)
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        (crc,) = struct.unpack(">I", data[at + 8 + length:at + 12 + length])
        if zlib.crc32(kind + body) != crc:
            raise ValueError("bad CRC in %r" % kind)
        chunks.append((kind, body))
        at += 12 + length
    return chunks


class SkinImagesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with zipfile.ZipFile(ARCHIVE) as archive:
            cls.members = {info.filename: archive.read(info) for info in archive.infolist()}

    def test_pngs_are_8_bit_rgba_without_ancillary_chunks(self):
        pngs = [name for name in self.members if name.lower().endswith(".png")]
        self.assertGreater(len(pngs), 20)
        for name in pngs:
            with self.subTest(name=name):
                chunks = png_chunks(self.members[name])
                self.assertEqual(chunks[0][0], b"IHDR")
                self.assertEqual(chunks[-1][0], b"IEND")
                width, height, depth, colour = struct.unpack(">IIBB", chunks[0][1][:10])
                self.assertGreater(width * height, 0)
                self.assertEqual((depth, colour), (8, 6), "bit depth and colour type (8-bit RGBA)")
                self.assertEqual({kind for kind, _ in chunks} - CRITICAL_ONLY, set())

    def test_every_image_a_layout_names_is_in_the_archive(self):
        named = set()
        for name, data in self.members.items():
            if name.lower().endswith(".xml"):
                text = data.decode("utf-8")
                named |= set(re.findall(r"file='([^']+)'", text))
                named |= set(re.findall(r'(?:image|bkimage|normalimage|hotimage|pushedimage|disabledimage|'
                                        r'selectedimage|foreimage|thumbimage)="([^"=\']+\.(?:png|jpg))"', text))
        self.assertGreater(len(named), 10)
        self.assertEqual(sorted(named - set(self.members)), [])


if __name__ == "__main__":
    if not ARCHIVE:
        sys.exit("usage: skin_images_test.py <Wakfu.ui>")
    unittest.main()
