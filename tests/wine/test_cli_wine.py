"""quorvel-cli.exe under Wine, inside the lab's PC namespace, finds the simulated boxes."""
import json
import os
import shutil
import sys
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent / "lab"))
from labtest import LabCase, box, port, port_held_elsewhere  # noqa: E402
from winelab import WinePrefix  # noqa: E402
import lab  # noqa: E402  (on the path once labtest is imported)

WIN_BUILD = Path(os.environ.get("QUORVEL_WIN_BUILD", HERE.parents[1] / "build-win"))
CLI_EXE = WIN_BUILD / "tools" / "cli" / "quorvel-cli.exe"
PLANTED_DLL = WIN_BUILD / "tests" / "wine" / "planted_dll" / "quorvel-test-planted.dll"


class CliUnderWine(LabCase):
    NETS = 2
    BOXES = {0: [box(60, "wine-one", ports=[port("192.0.2.60", gateway="192.0.2.1")])],
             1: [box(61, "wine-two", model="VRX-530L", shares=["Vol-A", "Vol-B"])]}

    @classmethod
    def setUpClass(cls):
        if not CLI_EXE.exists():
            raise RuntimeError(f"not built: {CLI_EXE}")
        super().setUpClass()
        cls.wine = WinePrefix()

    @classmethod
    def tearDownClass(cls):
        cls.wine.close()
        super().tearDownClass()

    def wine_cli(self, *args, password=""):
        return self.lab.pc_run(["wine", CLI_EXE, *args], env=self.wine.env(), input=password, timeout=300)

    def test_search_finds_the_boxes_on_both_interfaces(self):
        result = self.wine_cli("search", "--json")
        self.assertEqual(result.returncode, 0, result.stderr)
        records = self.by_name(json.loads(result.stdout))
        self.assertEqual(set(records), {"wine-one", "wine-two"})
        self.assertEqual((records["wine-one"]["interface"], records["wine-one"]["ports"][0]["gateway"]),
                         (self.lab.pc_addresses[0], "192.0.2.1"))
        self.assertEqual((records["wine-two"]["interfaceIndex"], records["wine-two"]["interface"]),
                         (1, self.lab.pc_addresses[1]))

    # Catches the Windows side of the doctor: the adapter list, the receive sockets bound to the interface
    # addresses, and another program's hold on the port seen before the doctor's own sockets open.
    def test_doctor_finds_both_boxes_and_sees_another_program_on_the_port(self):
        with port_held_elsewhere(self.lab):
            result = self.wine_cli("doctor", "--json")
        self.assertEqual(result.returncode, 0, result.stderr)
        report = json.loads(result.stdout)
        lans = [e for e in report["interfaces"] if not e["loopback"]]
        self.assertEqual([e["address"] for e in lans], self.lab.pc_addresses)
        self.assertEqual([(e["kept"], e["opened"], e["bound"], e["joined"], e["portShared"], e["boxes"]) for e in lans],
                         [(True, True, True, True, True, 1)] * 2)
        self.assertEqual(report["boxes"], 2)

    # Catches a Windows probe that cannot run (it would warn and send all the same, as the window sends
    # without a question): a free address on the box's network goes out without a word.
    def test_set_network_sends_a_free_address_without_a_warning(self):
        free = lab.net_address(0, 25)
        result = self.wine_cli("set-network", "--device", "wine-one", "--user", "admin", "--port", "LAN1", "--ip", free,
                               "--netmask", "255.255.255.224", "--gateway", lab.net_address(0, 1),
                               password="secret\n")
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        self.assertEqual([f["value"] for f in self.requests(0, 106)[-1]["fields"] if f["code"] == 506], [free])

    # Catches a system DLL loaded by a search that starts in the program's folder: a copy of the program
    # unpacked beside a DLL named as the one that lists the interfaces, with Wine told to prefer a DLL
    # it finds over its own, still takes the system's.
    def test_a_dll_planted_beside_the_program_is_never_loaded(self):
        folder = self.wine.drive_c / "unpacked"
        folder.mkdir(exist_ok=True)
        shutil.copy(CLI_EXE, folder / "quorvel-cli.exe")
        shutil.copy(PLANTED_DLL, folder / "IPHLPAPI.DLL")
        prefer_planted = self.wine.env(WINEDLLOVERRIDES="mscoree,mshtml=;iphlpapi=n,b")
        result = self.lab.pc_run(["wine", folder / "quorvel-cli.exe", "search", "--json"], env=prefer_planted,
                                 input="", timeout=300)
        self.assertFalse((folder / "IPHLPAPI.DLL.loaded").exists(), result.stderr)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(set(self.by_name(json.loads(result.stdout))), {"wine-one", "wine-two"})

    def test_version_is_the_project_version(self):
        # Catches a Windows build whose version text is not the project's; run in the lab like every run.
        result = self.wine_cli("--version")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stdout.strip(), "quorvel-cli " + os.environ["QUORVEL_VERSION"])

    def test_shares_through_the_second_interface(self):
        result = self.wine_cli("shares", "--device", "wine-two", "--user", "admin", "--json", password="secret\n")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(json.loads(result.stdout), ["Vol-A", "Vol-B"])


if __name__ == "__main__":
    unittest.main()
