"""The payloads of the hidden services as the real program carries and writes them: quorvel-payload-probe
under Wine reads every embedded payload through the Windows Payloads seam and writes it with the services'
payload writer through the Windows Files seam: the codepage payloads straight into a folder, the add-on
payloads by the add-on job itself, on the route it chooses (staged through C:\\bt\\, then copied to the box's
system share, here a UNC folder of the prefix); the files must equal those in res/payloads/.
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
BOX_FOLDER = r"\\192.0.2.1\HDD_a\Nas_Prog/BT"  # where the add-on job puts its files on the probe's box


def payload_files(codepage, bt):
    """Every payload file in the two folders, by the name it has in res/payloads ("codepage/nls_cp850.o")."""
    return {f"{sub}/{p.name}": p.read_bytes()
            for sub, folder in (("codepage", codepage), ("bt", bt)) for p in sorted(folder.glob("*")) if p.is_file()}


class Payloads(WineProgramCase):
    @classmethod
    def run_program(cls):
        if not PROBE.exists():
            raise RuntimeError(f"not built: {PROBE}")
        # Outside C:, which the writer takes for its local staging drive: Wine's Z: is the Unix root.
        cls.out = cls.wine.root / "out"
        cls.out.mkdir()
        windows_out = "Z:" + str(cls.out).replace("/", "\\")
        # Wine reaches \\host\share\... through the prefix's dosdevices/unc/host/share.
        box = cls.wine.path / "dosdevices" / "unc" / "192.0.2.1" / "HDD_a" / "Nas_Prog" / "BT"
        box.mkdir(parents=True)
        env = cls.wine.env(LANG="C.UTF-8", LC_ALL="C.UTF-8")
        env.pop("DISPLAY", None)
        cls.result = cls.lab.pc_run(["wine", PROBE, windows_out], env=env, timeout=PROBE_TIMEOUT)
        lines = cls.result.stdout.splitlines()
        cls.seen = dict(line.strip().split("=", 1) for line in lines if "=" in line)
        cls.route = [line.strip() for line in lines if line.startswith(("write ", "copy "))]
        cls.written = payload_files(cls.out / "codepage", box)
        cls.staging_left = (cls.wine.drive_c / "bt").exists()

    def test_every_write_succeeded(self):
        self.assertEqual(self.result.returncode, 0, self.result.stderr)
        self.assertEqual(self.seen.get("done"), "1", self.result.stdout)
        failed = {key: value for key, value in self.seen.items()
                  if key.startswith(("codepage/", "addon_job", "mkdir.")) and value != "1"}
        self.assertEqual(failed, {})

    def test_files_equal_the_payload_sources_byte_for_byte(self):
        expected = payload_files(PAYLOADS / "codepage", PAYLOADS / "bt")
        self.assertEqual(len(expected), 43, sorted(expected))  # 41 codepage files and the add-on's two
        self.assertEqual(sorted(self.written), sorted(expected))
        different = [name for name in expected if self.written.get(name) != expected[name]]
        self.assertEqual(different, [])

    def test_the_add_on_job_stages_each_file_on_c_then_copies_it_to_the_box(self):
        self.assertEqual(self.route, [r"write C:\bt\bt", rf"copy C:\bt\bt > {BOX_FOLDER}\bt",
                                      r"write C:\bt\btdog", rf"copy C:\bt\btdog > {BOX_FOLDER}\btdog"])
        # The job made the staging folder (the probe did not) and left no staging file in it.
        self.assertEqual({key: self.seen.get(key) for key in ("staging_left.bt", "staging_left.btdog",
                                                              "rmdir.staging")},
                         {"staging_left.bt": "0", "staging_left.btdog": "0", "rmdir.staging": "1"})
        self.assertFalse(self.staging_left)

    def test_a_payload_missing_from_the_program_writes_nothing(self):
        self.assertEqual((self.seen.get("missing_payload"), self.seen.get("missing_payload_written")), ("0", "0"))


if __name__ == "__main__":
    unittest.main()
