"""Writing and reading whole folder trees in the release and installer tests."""
import os


def put(folder, name, data, sep="/"):
    """Writes `data` to `name` below `folder`; `sep` parts the name into folders (any
    other character, a backslash included, stays in the file's name)."""
    path = os.path.join(folder, *name.split(sep))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def files_of(folder, sep=os.sep):
    """{relative path: bytes} of every file below `folder`, parts joined with `sep`."""
    found = {}
    for dirpath, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(dirpath, name)
            with open(path, "rb") as f:
                found[os.path.relpath(path, folder).replace(os.sep, sep)] = f.read()
    return found
