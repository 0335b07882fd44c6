"""tools/release_msi.py with stand-in programs: the ProductCode follows the version and the package code the
commit and version, and an older version over a newer one is refused with a message. (That two builds give
the same bytes, dated at the commit, is the release check's.)"""
import os
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

SOURCE = Path(os.environ.get("QUORVEL_SOURCE", Path(__file__).resolve().parents[2]))
VERSION = os.environ["QUORVEL_VERSION"]


def msiinfo(*args):
    return subprocess.run(["msiinfo", *map(str, args)], capture_output=True, check=True).stdout


class ReleaseMsi(unittest.TestCase):
    def build(self, version=VERSION, commit="1111111"):
        out = Path(self.tmp.name) / f"{version}-{commit}-{len(os.listdir(self.tmp.name))}.msi"
        subprocess.run([sys.executable, SOURCE / "tools" / "release_msi.py", out, version, "--commit", commit,
                        *[f"{n}={p}" for n, p in self.inputs.items()]], check=True)
        return out

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory(prefix="quorvel-msi-unit-")
        self.addCleanup(self.tmp.cleanup)
        self.inputs = {"quorvel.exe": Path(self.tmp.name) / "a.exe", "quorvel-cli.exe": Path(self.tmp.name) / "b.exe",
                       "README.txt": SOURCE / "packaging" / "README.txt", "LICENSE.txt": SOURCE / "LICENSE",
                       "quorvel.ico": SOURCE / "res" / "icons" / "quorvel.ico"}
        self.inputs["quorvel.exe"].write_bytes(b"MZ stand-in program\0" * 64)
        self.inputs["quorvel-cli.exe"].write_bytes(b"MZ stand-in command line\0" * 64)

    def test_codes_follow_the_version_and_the_commit(self):
        builds = [self.build(VERSION, "1111111"), self.build(VERSION, "2222222"), self.build("9.8.7.6", "1111111")]
        self.inputs["quorvel.exe"].write_bytes(b"MZ the same commit built by another compiler\0" * 64)
        builds.append(self.build(VERSION, "1111111"))
        packages = [msiinfo("suminfo", msi).split(b"Revision number (UUID): ")[1][:38] for msi in builds]
        products = [dict(line.split(b"\t") for line in msiinfo("export", msi, "Property").splitlines()[3:])
                    [b"ProductCode"] for msi in builds]
        self.assertEqual((len(set(packages)), products[0] == products[1], products[0] == products[2]), (4, True, False))

    def test_older_over_newer_is_refused_with_a_message_and_impossible_versions_are_not_built(self):
        self.assertIn(b"NOT WIX_DOWNGRADE_DETECTED\tA newer version of Quorvel is already installed.",
                      msiinfo("export", self.build(), "LaunchCondition"))
        with self.assertRaises(subprocess.CalledProcessError):
            self.build("5.256.1.0")


if __name__ == "__main__":
    unittest.main()
