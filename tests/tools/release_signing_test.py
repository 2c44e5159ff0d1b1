#!/usr/bin/env python3
"""The publisher's side of signed updates, checked by the openssl command line, which
shares no code with release.py: keygen's files, and the UpDate.ini.sig that
`release.py <folder> --sign-key` writes."""
import os
import stat
import subprocess
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True  # keep the source folders clean
TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools")
RELEASE = os.path.join(TOOLS, "release.py")
sys.path.insert(0, TOOLS)
import release  # noqa: E402

# DER SubjectPublicKeyInfo header of an uncompressed P-256 point (id-ecPublicKey, prime256v1).
P256_SPKI_PREFIX = bytes.fromhex("3059301306072a8648ce3d020106082a8648ce3d030107034200")


def der_integer(value):
    body = value.lstrip(b"\0") or b"\0"
    if body[0] & 0x80:
        body = b"\0" + body
    return b"\x02" + bytes([len(body)]) + body


def der_signature(rs_hex):
    """ECDSA-Sig-Value (SEQUENCE of r and s) of the 128-character r||s text."""
    raw = bytes.fromhex(rs_hex)
    body = der_integer(raw[:32]) + der_integer(raw[32:])
    return b"\x30" + bytes([len(body)]) + body


def run(*args, **kwargs):
    return subprocess.run(list(args), capture_output=True, text=True, **kwargs)


class ReleaseSigningTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.addCleanup(self.dir.cleanup)
        self.private = self.path("private.pem")
        self.public = self.path("public.hex")
        result = run(sys.executable, RELEASE, "keygen", self.private, self.public)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.update = self.path("Update")
        os.makedirs(os.path.join(self.update, "skin"))
        self.write(os.path.join(self.update, "Velmora.exe"), b"MZ launcher")
        self.write(os.path.join(self.update, "skin", "Wakfu.ui"), b"PK skin")

    def path(self, name):
        return os.path.join(self.dir.name, name)

    @staticmethod
    def write(path, data):
        with open(path, "wb") as f:
            f.write(data)

    @staticmethod
    def read(path):
        with open(path, "rb") as f:
            return f.read()

    def openssl_verifies(self, data_path, signature_hex):
        """True when openssl accepts the signature with the public key of keygen."""
        point = bytes.fromhex(self.read(self.public).decode("ascii").strip())
        self.write(self.path("public.der"), P256_SPKI_PREFIX + b"\x04" + point)
        converted = run("openssl", "pkey", "-pubin", "-inform", "DER", "-in", self.path("public.der"),
                        "-out", self.path("public.pem"))
        self.assertEqual(converted.returncode, 0, converted.stderr)
        self.write(self.path("sig.der"), der_signature(signature_hex))
        result = run("openssl", "dgst", "-sha256", "-verify", self.path("public.pem"),
                     "-signature", self.path("sig.der"), data_path)
        return result.returncode == 0 and "Verified OK" in result.stdout

    def test_keygen_writes_a_private_pem_for_its_owner_and_a_128_digit_point(self):
        text = self.read(self.public).decode("ascii")
        self.assertRegex(text, r"^[0-9a-f]{128}\n$")
        self.assertEqual(stat.S_IMODE(os.stat(self.private).st_mode), 0o600)
        # openssl reads the private key and derives the same public point from it.
        derived = subprocess.run(["openssl", "pkey", "-in", self.private, "-pubout", "-outform", "DER"],
                                 capture_output=True)
        self.assertEqual(derived.returncode, 0, derived.stderr)
        self.assertEqual(derived.stdout[:len(P256_SPKI_PREFIX) + 1], P256_SPKI_PREFIX + b"\x04")
        self.assertEqual(derived.stdout[-64:].hex(), text.strip())
        # A second keygen never overwrites the key the installed updaters trust.
        before = self.read(self.private)
        again = run(sys.executable, RELEASE, "keygen", self.private, self.public)
        self.assertNotEqual(again.returncode, 0)
        self.assertEqual(self.read(self.private), before)

    def test_release_with_sign_key_writes_a_signature_openssl_accepts(self):
        result = run(sys.executable, RELEASE, self.update, "--version", "2.0.1.0", "--sign-key", self.private)
        self.assertEqual(result.returncode, 0, result.stderr)
        manifest = os.path.join(self.update, "UpDate.ini")
        self.assertEqual(self.read(manifest), release.manifest_bytes(self.update))
        signature = self.read(os.path.join(self.update, "UpDate.ini.sig")).decode("ascii")
        self.assertRegex(signature, r"^[0-9a-f]{128}$")
        self.assertTrue(self.openssl_verifies(manifest, signature))

        # Over the exact bytes: one byte more and the same signature fails.
        self.write(self.path("changed.ini"), self.read(manifest) + b"\n")
        self.assertFalse(self.openssl_verifies(self.path("changed.ini"), signature))
        # The signature file is not itself listed in the manifest of the next release.
        release.write_release(self.update)
        self.assertNotIn(b"UpDate.ini.sig\t", self.read(manifest))

    def test_sign_manifest_signs_the_manifest_as_it_lies(self):
        manifest = os.path.join(self.update, "UpDate.ini")
        custom = "说明.txt\t0cc175b9c0f1b6a831c399e269772661\r\n".encode("gbk")
        self.write(manifest, custom)
        release.sign_manifest(self.update, self.private)
        self.assertEqual(self.read(manifest), custom)
        signature = self.read(os.path.join(self.update, "UpDate.ini.sig")).decode("ascii")
        self.assertTrue(self.openssl_verifies(manifest, signature))

    def test_a_key_that_is_not_p256_is_refused(self):
        rsa = self.path("rsa.pem")
        self.assertEqual(run("openssl", "genpkey", "-algorithm", "RSA", "-out", rsa).returncode, 0)
        release.write_release(self.update)
        with self.assertRaises(ValueError):
            release.sign_manifest(self.update, rsa)
        self.assertFalse(os.path.exists(os.path.join(self.update, "UpDate.ini.sig")))


if __name__ == "__main__":
    unittest.main()
