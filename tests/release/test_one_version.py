"""The project's version is written once, in the top CMakeLists.txt; everything else takes it from
there at build time. Catches a second copy of the number (dotted, or comma-separated as a version
resource writes it) anywhere in the tree, which would drift at the next release."""
import os
import re
import subprocess
import unittest
from pathlib import Path

SOURCE = Path(os.environ.get("QUORVEL_SOURCE", Path(__file__).resolve().parents[2]))
VERSION = os.environ["QUORVEL_VERSION"]
SKIPPED_DIRS = {".git", "dist", "__pycache__"}


def tree_files():
    """The files of the tree: tracked and new ones when it is a git checkout, else every file outside
    build folders."""
    listed = subprocess.run(["git", "-C", str(SOURCE), "ls-files", "-z", "--cached", "--others",
                             "--exclude-standard"], capture_output=True)
    if listed.returncode == 0:
        return [SOURCE / name for name in listed.stdout.decode().split("\0") if name]
    return [p for p in SOURCE.rglob("*") if p.is_file() and not
            any(part in SKIPPED_DIRS or part.startswith("build") for part in p.relative_to(SOURCE).parts)]


def version_pattern(version):
    numbers = [re.escape(n) for n in version.split(".")]
    dotted = r"\.".join(numbers)
    commas = r"\s*,\s*".join(numbers)
    return re.compile(rf"(?<![\d.]){dotted}(?![\d.])|(?<![\d,]){commas}(?![\d,])".encode())


class OneVersion(unittest.TestCase):
    def test_the_number_is_only_in_the_top_cmakelists(self):
        pattern = version_pattern(VERSION)
        found = []
        for path in tree_files():
            if path.is_file():
                found += [f"{path.relative_to(SOURCE)}: {m.group().decode(errors='replace')}"
                          for m in pattern.finditer(path.read_bytes())]
        self.assertEqual(found, [f"CMakeLists.txt: {VERSION}"])


if __name__ == "__main__":
    unittest.main()
