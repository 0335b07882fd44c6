"""tools/release_msi.py with stand-in programs: the installer's bytes depend on its inputs alone (not on
when it is made or on the files' dates), its summary carries the source date, and its codes are derived
from what they must be: the ProductCode from the version, the package code from the commit and version."""
import os
import shutil
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
    return subprocess.run(["msiinfo", *map(str, args)], capture_output=True, text=True, check=True,
                          env=dict(os.environ, TZ="UTC")).stdout


def summary(msi):
    return dict(line.split(": ", 1) for line in msiinfo("suminfo", msi).splitlines() if ": " in line)


def properties(msi):
    return dict(line.split("\t", 1) for line in msiinfo("export", msi, "Property").splitlines()[3:])


def cabinet_dates(msi):
    """(name, date) of every file in the installer's cabinet, from the cabinet's file entries."""
    cab = subprocess.run(["msiinfo", "extract", str(msi), "quorvel.cab"], capture_output=True, check=True).stdout
    at, count = struct.unpack_from("<I", cab, 16)[0], struct.unpack_from("<H", cab, 28)[0]
    found = []
    for _ in range(count):
        day, clock = struct.unpack_from("<HH", cab, at + 10)
        end = cab.index(b"\0", at + 16)
        found.append((cab[at + 16:end].decode(), (1980 + (day >> 9), day >> 5 & 15, day & 31,
                                                   clock >> 11, clock >> 5 & 63, (clock & 31) * 2)))
        at = end + 1
    return found


class ReleaseMsi(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = Path(tempfile.mkdtemp(prefix="quorvel-msi-unit-"))
        cls.inputs = {"quorvel.exe": cls.tmp / "quorvel.exe", "quorvel-cli.exe": cls.tmp / "quorvel-cli.exe",
                      "README.txt": SOURCE / "packaging" / "README.txt", "LICENSE.txt": SOURCE / "LICENSE",
                      "quorvel.ico": SOURCE / "res" / "icons" / "quorvel.ico"}
        cls.inputs["quorvel.exe"].write_bytes(b"MZ stand-in for the program\0" * 64)
        cls.inputs["quorvel-cli.exe"].write_bytes(b"MZ stand-in for the command line\0" * 64)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def build(self, name, version=VERSION, commit="1111111"):
        out = self.tmp / name
        subprocess.run([sys.executable, SOURCE / "tools" / "release_msi.py", out, version, "--commit", commit,
                        *[f"{n}={p}" for n, p in self.inputs.items()]],
                       check=True, env=dict(os.environ, SOURCE_DATE_EPOCH=str(SOURCE_DATE)))
        return out

    def test_the_same_inputs_give_the_same_bytes_whatever_the_files_dates(self):
        first = self.build("first.msi")
        for path in (self.inputs["quorvel.exe"], self.inputs["quorvel-cli.exe"]):
            os.utime(path, (time.time() - 86400, time.time() - 86400))
        second = self.build("second.msi")
        self.assertEqual(first.read_bytes(), second.read_bytes())

    def test_summary_and_cabinet_are_dated_at_the_source_date(self):
        msi = self.build("dated.msi")
        info = summary(msi)
        stamp = time.asctime(time.gmtime(SOURCE_DATE))
        self.assertEqual((info["Created"], info["Last saved"], info["Template"]), (stamp, stamp, "x64;1033"))
        self.assertEqual(cabinet_dates(msi), [(name, time.gmtime(SOURCE_DATE)[:6]) for name in
                                              ("quorvel.exe", "quorvel_cli.exe", "README.txt", "LICENSE.txt")])

    def test_codes_follow_the_version_and_the_commit(self):
        builds = {(version, commit): self.build(f"{version}-{commit}.msi", version, commit)
                  for version, commit in [(VERSION, "1111111"), (VERSION, "2222222"), ("9.8.7.6", "1111111")]}
        package = {key: summary(msi)["Revision number (UUID)"] for key, msi in builds.items()}
        props = {key: properties(msi) for key, msi in builds.items()}
        self.assertEqual(len(set(package.values())), 3, package)
        self.assertEqual(props[VERSION, "1111111"]["ProductCode"], props[VERSION, "2222222"]["ProductCode"])
        self.assertNotEqual(props[VERSION, "1111111"]["ProductCode"], props["9.8.7.6", "1111111"]["ProductCode"])
        self.assertEqual(len({p["UpgradeCode"] for p in props.values()}), 1)
        self.assertEqual(props["9.8.7.6", "1111111"]["ProductVersion"], "9.8.7.6")

    def test_an_older_version_over_a_newer_one_is_refused_with_a_message(self):
        conditions = msiinfo("export", self.build("conditions.msi"), "LaunchCondition")
        self.assertIn("NOT WIX_DOWNGRADE_DETECTED\tA newer version of Quorvel is already installed.", conditions)

    def test_a_version_windows_installer_cannot_hold_is_refused(self):
        with self.assertRaises(subprocess.CalledProcessError):
            self.build("refused.msi", "5.256.1.0")
        self.assertFalse((self.tmp / "refused.msi").exists())


if __name__ == "__main__":
    unittest.main()
