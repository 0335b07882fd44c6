"""tools/release_msi.py with stand-in programs: the same inputs give the same bytes whatever the files' dates,
summary and cabinet carry the source date, the ProductCode follows the version and the package code the
commit and version, and an older version over a newer one is refused with a message."""
import os
import struct
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

SOURCE = Path(os.environ.get("QUORVEL_SOURCE", Path(__file__).resolve().parents[2]))
VERSION = os.environ["QUORVEL_VERSION"]
SOURCE_DATE = 981173106  # 2001-02-03 04:05:06, long before any build runs


def msiinfo(*args):
    return subprocess.run(["msiinfo", *map(str, args)], capture_output=True, check=True,
                          env=dict(os.environ, TZ="UTC")).stdout


def cabinet_dates(msi):
    """The date of every file entry of the installer's cabinet."""
    cab = msiinfo("extract", msi, "quorvel.cab")
    at, dates = struct.unpack_from("<I", cab, 16)[0], []
    for _ in range(struct.unpack_from("<H", cab, 28)[0]):
        day, clock = struct.unpack_from("<HH", cab, at + 10)
        dates.append((1980 + (day >> 9), day >> 5 & 15, day & 31, clock >> 11, clock >> 5 & 63, (clock & 31) * 2))
        at = cab.index(b"\0", at + 16) + 1
    return dates


class ReleaseMsi(unittest.TestCase):
    def build(self, version=VERSION, commit="1111111"):
        out = Path(self.tmp.name) / f"{version}-{commit}-{len(os.listdir(self.tmp.name))}.msi"
        subprocess.run([sys.executable, SOURCE / "tools" / "release_msi.py", out, version, "--commit", commit,
                        *[f"{n}={p}" for n, p in self.inputs.items()]],
                       check=True, env=dict(os.environ, SOURCE_DATE_EPOCH=str(SOURCE_DATE)))
        return out

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory(prefix="quorvel-msi-unit-")
        self.addCleanup(self.tmp.cleanup)
        self.inputs = {"quorvel.exe": Path(self.tmp.name) / "a.exe", "quorvel-cli.exe": Path(self.tmp.name) / "b.exe",
                       "README.txt": SOURCE / "packaging" / "README.txt", "LICENSE.txt": SOURCE / "LICENSE",
                       "quorvel.ico": SOURCE / "res" / "icons" / "quorvel.ico"}
        self.inputs["quorvel.exe"].write_bytes(b"MZ stand-in program\0" * 64)
        self.inputs["quorvel-cli.exe"].write_bytes(b"MZ stand-in command line\0" * 64)

    def test_same_bytes_whatever_the_files_dates_and_dated_at_the_source_date(self):
        first = self.build()
        os.utime(self.inputs["quorvel.exe"], (time.time() - 86400,) * 2)
        self.assertEqual(first.read_bytes(), self.build().read_bytes())
        stamp = time.asctime(time.gmtime(SOURCE_DATE))
        self.assertIn(f"Created: {stamp}\nLast saved: {stamp}\n".encode(), msiinfo("suminfo", first))
        self.assertEqual(cabinet_dates(first), [time.gmtime(SOURCE_DATE)[:6]] * 4)

    def test_codes_follow_the_version_and_the_commit(self):
        builds = [self.build(VERSION, "1111111"), self.build(VERSION, "2222222"), self.build("9.8.7.6", "1111111")]
        packages = [msiinfo("suminfo", msi).split(b"Revision number (UUID): ")[1][:38] for msi in builds]
        products = [dict(line.split(b"\t") for line in msiinfo("export", msi, "Property").splitlines()[3:])
                    [b"ProductCode"] for msi in builds]
        self.assertEqual((len(set(packages)), products[0] == products[1], products[0] == products[2]), (3, True, False))

    def test_older_over_newer_is_refused_with_a_message_and_impossible_versions_are_not_built(self):
        self.assertIn(b"NOT WIX_DOWNGRADE_DETECTED\tA newer version of Quorvel is already installed.",
                      msiinfo("export", self.build(), "LaunchCondition"))
        with self.assertRaises(subprocess.CalledProcessError):
            self.build("5.256.1.0")


if __name__ == "__main__":
    unittest.main()
