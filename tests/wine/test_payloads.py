"""The payloads of the hidden services as the real program carries and writes them: quorvel-payload-probe
under Wine reads every embedded payload through the Windows Payloads seam and writes it with the services'
payload writer through the Windows Files seam (the codepage payloads straight into a folder, the add-on
payloads staged through C:\\bt\\ as the add-on install does); the files must equal those in res/payloads/.
It uses no network, but runs inside a lab namespace all the same, as every Wine program of ours does."""
import os
import sys
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parents[1] / "tools" / "lab"))
from winelab import WineProgramCase  # noqa: E402

WIN_BUILD = Path(os.environ.get("QUORVEL_WIN_BUILD", HERE.parents[1] / "build-win"))
PROBE = WIN_BUILD / "tests" / "wine" / "payload_probe" / "quorvel-payload-probe.exe"
PAYLOADS = HERE.parents[1] / "res" / "payloads"
PROBE_TIMEOUT = 300


def payload_files(folder):
    """Every payload file below folder, by its path relative to it ("codepage/nls_cp850.o")."""
    return {str(p.relative_to(folder)): p.read_bytes()
            for sub in ("codepage", "bt") for p in sorted((folder / sub).glob("*")) if p.is_file()}


class Payloads(WineProgramCase):
    @classmethod
    def run_program(cls):
        if not PROBE.exists():
            raise RuntimeError(f"not built: {PROBE}")
        # Outside C:, which the writer takes for its local staging drive: Wine's Z: is the Unix root.
        cls.out = cls.wine.root / "out"
        cls.out.mkdir()
        windows_out = "Z:" + str(cls.out).replace("/", "\\")
        env = cls.wine.env(LANG="C.UTF-8", LC_ALL="C.UTF-8")
        env.pop("DISPLAY", None)
        cls.result = cls.lab.pc_run(["wine", PROBE, windows_out], env=env, timeout=PROBE_TIMEOUT)
        cls.seen = dict(line.strip().split("=", 1) for line in cls.result.stdout.splitlines() if "=" in line)
        cls.written = payload_files(cls.out)
        cls.staging_left = (cls.wine.drive_c / "bt").exists()

    def test_every_write_succeeded(self):
        self.assertEqual(self.result.returncode, 0, self.result.stderr)
        self.assertEqual(self.seen.get("done"), "1", self.result.stdout)
        failed = {key: value for key, value in self.seen.items()
                  if key.startswith(("codepage/", "bt/", "mkdir.")) and value != "1"}
        self.assertEqual(failed, {})

    def test_files_equal_the_payload_sources_byte_for_byte(self):
        expected = payload_files(PAYLOADS)
        self.assertEqual(len(expected), 43, sorted(expected))  # 41 codepage files and the add-on's two
        self.assertEqual(sorted(self.written), sorted(expected))
        different = [name for name in expected if self.written.get(name) != expected[name]]
        self.assertEqual(different, [])

    def test_add_on_files_went_through_the_staging_folder_which_is_gone(self):
        self.assertEqual({key: self.seen.get(key) for key in ("staging_left.bt", "staging_left.btdog",
                                                              "rmdir.staging", "mkdir.staging")},
                         {"staging_left.bt": "0", "staging_left.btdog": "0", "rmdir.staging": "1",
                          "mkdir.staging": "1"})
        self.assertFalse(self.staging_left)

    def test_a_payload_missing_from_the_program_writes_nothing(self):
        self.assertEqual((self.seen.get("missing_payload"), self.seen.get("missing_payload_written")), ("0", "0"))


if __name__ == "__main__":
    unittest.main()
