"""quorvel-cli doctor in the lab: which addresses it keeps, the port and the sockets, the figures of its search
and its verdict, as text and as JSON."""
import json
import unittest

from labtest import LabCase, box, port_held_elsewhere
import lab  # on the path once labtest is imported

KEYS = ["name", "address", "up", "loopback", "kept", "reason", "opened", "bound", "joined", "portShared", "error",
        "boxes", "dropped", "siblingReplies"]
BEYOND = "beyond the first 8 addresses"
FAR_BOX = box(70, "far-away")
ANSWERING = box(71, "answering")
FOREIGN_TWIN = dict(box(71, "answering-for-another"), faults={"wrongClientId": True})  # the same box, other ClientId
BAD_LENGTH = box(72, "bad-length", faults={"wrongPayloadLength": True})
LOWER_MODEL = box(73, "lower-model", model="vrx-510l")
TWIN = box(74, "on-two-nets")  # one box, one simulator on each of two nets
NEIGHBOUR = box(75, "beside-two-addresses")

class DoctorCase(LabCase):
    def doctor(self, *args):
        return self.cli("doctor", *args)

    def doctor_json(self, expected_exit):
        result = self.doctor("--json")
        self.assertEqual(result.returncode, expected_exit, result.stderr)
        report = json.loads(result.stdout)
        self.assertEqual(list(report), ["interfaces", "boxes", "verdict"])
        for entry in report["interfaces"]:
            self.assertEqual(list(entry), KEYS, entry)
        return report

    def entry(self, report, address):
        found = [e for e in report["interfaces"] if e["address"] == address]
        self.assertEqual(len(found), 1, report["interfaces"])
        return found[0]


class BoxBeyondTheFirstEight(DoctorCase):
    """Nine nets, a box on the ninth only: the main window would never list it."""
    NETS = 9
    BOXES = {8: [FAR_BOX]}

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.report = cls.doctor_json(cls(), 1)

    def test_addresses_in_system_order_first_eight_kept_and_the_ninth_skipped(self):
        interfaces = self.report["interfaces"]
        self.assertEqual([e["address"] for e in interfaces], ["127.0.0.1", *self.lab.pc_addresses])
        self.assertEqual([e["name"] for e in interfaces], ["lo", *(f"lan{k}" for k in range(9))])
        self.assertEqual([(e["kept"], e["reason"]) for e in interfaces],
                         [(False, "loopback")] + [(True, None)] * 8 + [(False, BEYOND)])

    def test_an_unsearched_address_has_no_socket_and_null_figures(self):
        loopback = self.entry(self.report, "127.0.0.1")
        self.assertEqual({k: loopback[k] for k in KEYS[2:]},
                         {"up": True, "loopback": True, "kept": False, "reason": "loopback", "opened": False,
                          "bound": False, "joined": False, "portShared": False, "error": None, "boxes": None,
                          "siblingReplies": None,
                          "dropped": None})

    def test_nets_without_a_box_were_searched_and_found_nothing(self):
        for address in self.lab.pc_addresses[:8]:
            entry = self.entry(self.report, address)
            self.assertEqual((entry["opened"], entry["bound"], entry["joined"], entry["error"]),
                             (True, True, True, None))
            # Nothing else holds the port: the doctor must not count its own sockets.
            self.assertFalse(entry["portShared"])
            self.assertEqual((entry["boxes"], entry["dropped"]), (0, {"foreign": 0, "invalid": 0, "rejectedModel": 0}))

    def test_the_box_answers_beyond_the_eighth_address_and_the_verdict_says_so(self):
        ninth = self.lab.pc_addresses[8]
        entry = self.entry(self.report, ninth)
        self.assertEqual((entry["joined"], entry["boxes"]), (True, 1))
        self.assertEqual(self.report["boxes"], 0)
        self.assertIn(f"lan8 ({ninth})", self.report["verdict"])
        self.assertIn("beyond the first 8 addresses", self.report["verdict"])

    def test_the_text_form_gives_the_same_verdict_and_exit(self):
        result = self.doctor()
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertIn(f"Verdict: {self.report['verdict']}\n", result.stdout)
        self.assertRegex(result.stdout, rf"\n  lan8 +{self.lab.pc_addresses[8]} +up +skipped: {BEYOND}\n")


class DroppedRepliesAndASharedPort(DoctorCase):
    """Net 0: a box that also answers with another ClientId, and replies that fail the check or carry a model
    that is not supported. Net 1: no box. Net 2: its interface down. Another program holds the port."""
    NETS = 3
    BOXES = {0: [ANSWERING, FOREIGN_TWIN, BAD_LENGTH, LOWER_MODEL]}

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.lab.pc_run(["ip", "link", "set", "lan2", "down"], check=True)
        with port_held_elsewhere(cls.lab):
            cls.report = cls.doctor_json(cls(), 0)

    def test_replies_are_counted_by_why_they_were_dropped(self):
        first, second = self.lab.pc_addresses[:2]
        self.assertEqual((self.entry(self.report, first)["boxes"], self.entry(self.report, first)["dropped"]),
                         (1, {"foreign": 1, "invalid": 1, "rejectedModel": 1}))
        self.assertEqual((self.entry(self.report, second)["boxes"], self.entry(self.report, second)["dropped"]),
                         (0, {"foreign": 0, "invalid": 0, "rejectedModel": 0}))
        self.assertEqual(self.report["boxes"], 1)
        self.assertEqual(self.report["verdict"], f"Found 1 box, through lan0 ({first}).")

    def test_another_program_on_the_port_is_reported_and_does_not_stop_the_search(self):
        for address in self.lab.pc_addresses[:2]:
            entry = self.entry(self.report, address)
            self.assertEqual((entry["portShared"], entry["bound"], entry["joined"]), (True, True, True))

    def test_a_down_interface_is_skipped_and_not_searched(self):
        down = self.entry(self.report, self.lab.pc_addresses[2])
        self.assertEqual((down["up"], down["kept"], down["reason"], down["opened"], down["boxes"]),
                         (False, False, "down", False, None))
        self.assertEqual(len(self.requests(0, 101)), 1)


class OneBoxOnTwoNets(DoctorCase):
    """The same box answers on lan0 and lan1: each address counts it, the top-level count and the verdict
    once (the main window lists it once)."""
    NETS = 2
    BOXES = {0: [TWIN], 1: [TWIN]}

    def test_each_address_counts_the_box_that_answered_through_it(self):
        report = self.doctor_json(0)
        first, second = self.lab.pc_addresses[:2]
        self.assertEqual([self.entry(report, address)["boxes"] for address in (first, second)], [1, 1])
        self.assertEqual(report["boxes"], 1)
        self.assertEqual(report["verdict"], f"Found 1 box, through lan0 ({first}).")
        self.assertIn(f"  lan1 ({second}): 1 box, nothing dropped\n", self.doctor().stdout)


class TwoAddressesOnOneLink(DoctorCase):
    """The PC has a second address on lan0 (an alias): both addresses hear the box's replies to each other's
    requests, which are this PC's own search and counted apart, not as another program's."""
    NETS = 1
    BOXES = {0: [NEIGHBOUR]}

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        try:
            # Not the box side's own address (host 2): a PC alias there makes each side drop the
            # other's datagrams as coming from one of its own addresses.
            cls.alias = lab.net_address(0, 29)
            cls.lab.pc_run(["ip", "addr", "add", f"{cls.alias}/{lab.PREFIX_LEN}", "dev", "lan0", "label", "lan0:1"],
                           check=True)
        except BaseException:
            cls.tearDownClass()
            raise

    def test_no_reply_is_counted_as_another_programs(self):
        report = self.doctor_json(0)
        for address in (self.lab.pc_addresses[0], self.alias):
            with self.subTest(address=address):
                entry = self.entry(report, address)
                self.assertEqual(entry["boxes"], 1)
                self.assertEqual(entry["dropped"], {"foreign": 0, "invalid": 0, "rejectedModel": 0})
                self.assertEqual(entry["siblingReplies"], 1)
        self.assertEqual(report["boxes"], 1)
        self.assertIn("; 1 reply answers this PC's search through another address\n", self.doctor().stdout)


if __name__ == "__main__":
    unittest.main()
