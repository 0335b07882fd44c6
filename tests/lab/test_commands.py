"""The device commands from the terminal: password check, share names, settings, and their exit codes."""
import json
import unittest

from labtest import BUILD, LabCase, box

KEEPER = box(50, "keeper", user="admin", password="s3cret pass",
             shares=["Volume1", "Recycle Bin - Volume1", "Volume1", "Daten-Ä", "Recycle Bin - Daten-Ä"])
REFUSER = box(51, "refuser", faults={"refuse": True})
SLOW = box(52, "slow", replyDelayMs=300, shares=["Slow1"])
# A answers at once and repeats every reply 1.5 s late; B answers commands only after 2 s, so that A's
# repeated acceptance reaches the PC during B's wait, before B's own answer.
REPEATER = box(53, "repeater", faults={"repeatLateMs": 1500})
LAGGARD = box(54, "laggard", faults={"commandDelayMs": 2000})
BENCH = BUILD / "tools" / "bench" / "quorvel-bench"


class Commands(LabCase):
    NETS = 2
    BOXES = {0: [KEEPER, REFUSER], 1: [SLOW, REPEATER, LAGGARD]}

    def test_password_accepted_and_refused(self):
        accepted = self.cli("check-password", "--device", "keeper", "--user", "admin", password="s3cret pass\n")
        self.assertEqual(accepted.returncode, 0, accepted.stderr)
        refused = self.cli("check-password", "--device", KEEPER["id"], "--user", "admin", password="wrong\n")
        self.assertEqual(refused.returncode, 1)
        sent = self.requests(0, 102)
        self.assertEqual([(r["user"], r["password"]) for r in sent], [("admin", "s3cret pass"), ("admin", "wrong")])
        self.assertEqual({r["deviceId"] for r in sent}, {KEEPER["id"]})
        self.assertEqual({r["length"] for r in sent}, {172})

    def test_a_late_acceptance_of_another_box_is_not_taken_for_the_answer(self):
        """One process checks A's right password, then at once B's wrong one."""
        result = self.lab.pc_run([BENCH, "check-password", "--user", "admin",
                                  "--device", REPEATER["id"], "--password", "secret",
                                  "--device", LAGGARD["id"], "--password", "wrong"], timeout=60)
        self.assertEqual(result.returncode, 1, result.stderr)
        checks = json.loads(result.stdout)["checks"]
        self.assertEqual([(c["device"], c["accepted"]) for c in checks],
                         [(REPEATER["id"], True), (LAGGARD["id"], False)])
        # The premise: A's check ended before its repeat, and B's refusal came after its 2 s, so the repeat
        # arrived during B's wait.
        self.assertGreaterEqual(checks[1]["seconds"], 2.0)
        self.assertLess(checks[0]["seconds"], 1.0)

    def test_share_names_arrive_split_once_each_in_order(self):
        result = self.cli("shares", "--device", "keeper", "--user", "admin", "--json", password="s3cret pass\n")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(json.loads(result.stdout),
                         ["Volume1", "Recycle Bin - Volume1", "Daten-Ä", "Recycle Bin - Daten-Ä"])

    def test_commands_go_out_on_the_interface_of_the_box(self):
        result = self.cli("shares", "--device", "slow", "--user", "admin", password="secret\n")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stdout.split(), ["Slow1"])
        self.assertEqual([r for r in self.requests(0, 164) if r["deviceId"] == SLOW["id"]], [])
        self.assertEqual([r["deviceId"] for r in self.requests(1, 164)], [SLOW["id"]])

    def test_refused_settings_and_unknown_device(self):
        refused = self.cli("set-network", "--device", "refuser", "--user", "admin", "--port", "LAN",
                           "--ip", "192.0.2.99", "--netmask", "255.255.255.0", "--gateway", "192.0.2.1",
                           "--force", password="secret\n")  # off the PC's network: held back without --force
        self.assertEqual(refused.returncode, 1, refused.stderr)
        missing = self.cli("check-password", "--device", "no-such-box", "--user", "admin", password="x\n")
        self.assertEqual(missing.returncode, 3)

    def test_invalid_settings_are_refused_before_anything_is_sent(self):
        before = len(self.requests(0, 106))
        cases = [
            (["--ip", "127.0.0.1", "--netmask", "255.0.0.0"], "IP address input error. Please try again."),
            (["--ip", "192.168.1.10", "--netmask", "255.0.255.0", "--gateway", "192.168.1.1"],
             "Netmask address input invalid. Please try again."),
            (["--ip", "192.168.1.10", "--netmask", "255.255.255.0", "--gateway", "192.168.1.255"],
             "You enter incorrect TCP/IP configuration. Please try again."),
        ]
        for args, message in cases:
            with self.subTest(args=args):
                result = self.cli("set-network", "--device", "keeper", "--user", "admin", "--port", "LAN", *args,
                                  password="s3cret pass\n")
                self.assertEqual(result.returncode, 2)
                self.assertIn(message, result.stderr)
        self.assertEqual(len(self.requests(0, 106)), before)


if __name__ == "__main__":
    unittest.main()
