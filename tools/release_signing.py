"""Signing of the server manifest: the publisher's half of signed updates.

The updater accepts UpDate.ini only with UpDate.ini.sig beside it: an ECDSA P-256
signature over SHA-256 of the manifest's exact bytes, written as 128 hexadecimal
characters (r then s, 32 bytes each, big-endian). The public key built into the
updater is the 64-byte point X then Y, also as 128 hexadecimal characters.
"""
import os
import sys

try:
    import cryptography  # noqa: F401
except ImportError:
    # A Python of its own (pyenv, a virtual environment) may lack the package that
    # Debian's python3-cryptography installs for the system's Python 3.
    sys.path.append("/usr/lib/python3/dist-packages")
from cryptography.hazmat.primitives import hashes, serialization  # noqa: E402
from cryptography.hazmat.primitives.asymmetric import ec, utils  # noqa: E402

COORDINATE_BYTES = 32


def public_key_hex(public_key):
    numbers = public_key.public_numbers()
    return (numbers.x.to_bytes(COORDINATE_BYTES, "big") + numbers.y.to_bytes(COORDINATE_BYTES, "big")).hex()


def load_private_key(key_path):
    with open(key_path, "rb") as f:
        key = serialization.load_pem_private_key(f.read(), password=None)
    if not isinstance(key, ec.EllipticCurvePrivateKey) or not isinstance(key.curve, ec.SECP256R1):
        raise ValueError(key_path + ": not a P-256 private key")
    return key


def signature_hex(key, data):
    """r and s of an ECDSA P-256/SHA-256 signature of data, 128 hexadecimal characters."""
    r, s = utils.decode_dss_signature(key.sign(data, ec.ECDSA(hashes.SHA256())))
    return (r.to_bytes(COORDINATE_BYTES, "big") + s.to_bytes(COORDINATE_BYTES, "big")).hex()


def sign_manifest(update_folder, key_path):
    """Writes <update_folder>/UpDate.ini.sig for the UpDate.ini already there."""
    key = load_private_key(key_path)
    with open(os.path.join(update_folder, "UpDate.ini"), "rb") as f:
        manifest = f.read()
    with open(os.path.join(update_folder, "UpDate.ini.sig"), "wb") as f:
        f.write(signature_hex(key, manifest).encode("ascii"))


def keygen(private_path, public_path):
    """Makes a new key pair. Refuses to overwrite an existing private key: losing it
    would strand every installed updater that trusts it."""
    if os.path.exists(private_path):
        raise FileExistsError(private_path + " exists; not overwriting a private key")
    key = ec.generate_private_key(ec.SECP256R1())
    pem = key.private_bytes(serialization.Encoding.PEM, serialization.PrivateFormat.PKCS8,
                            serialization.NoEncryption())
    # Readable by its owner only, from the moment it exists.
    fd = os.open(private_path, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o600)
    with os.fdopen(fd, "wb") as f:
        f.write(pem)
    with open(public_path, "w", encoding="ascii") as f:
        f.write(public_key_hex(key.public_key()) + "\n")


def keygen_main(argv):
    if len(argv) != 2:
        sys.exit("usage: release.py keygen <private.pem> <public.hex>")
    try:
        keygen(argv[0], argv[1])
    except (FileExistsError, OSError) as error:
        sys.exit(str(error))
