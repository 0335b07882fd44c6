"""set-network's checks before a static address is sent, on real sockets: the PC is 198.51.100.1/24, another
host answers at 198.51.100.44, the box "keeper" has 198.51.100.10 and .11 on its ports."""
import unittest

import labtest
from labtest import LabCase, box, port
from lan_hosts import add_on_link_route, add_other_host, learn_then_stale, neighbour_entry, remove_other_host, \
    widen_pc_net

TAKEN, FREE, OUTSIDE = "198.51.100.44", "198.51.100.25", "192.0.2.50"
DEPARTED, DEPARTED_TOO = "198.51.100.46", "198.51.100.47"  # a host answered here once and has left
KEEPER = box(60, "keeper", ports=[port("198.51.100.10", "255.255.255.0", "198.51.100.1"),
                                  port("198.51.100.11", "255.255.255.0", "198.51.100.1")])
MOVER = box(61, "mover", ports=[port("198.51.100.12", "255.255.255.0", "198.51.100.1")])
NOT_SENT = " Not sent: use --force to send it anyway.\n"


class SafeSetNetwork(LabCase):
    NETS = 1
    BOXES = {0: [KEEPER, MOVER]}

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        try:
            widen_pc_net(cls.lab)
            add_other_host(cls.lab, 0, TAKEN)
            cls.lab.add_box_address(0, 11)  # keeper's second port answers on the link too
            # A probe of the outside address would now leave an entry in the neighbour table.
            add_on_link_route(cls.lab, 0, "192.0.2.0/24")
        except BaseException:
            cls.tearDownClass()
            raise

    def set_network(self, name, ip, gateway="198.51.100.1", *extra, port_name="LAN1", prefix=()):
        args = ["set-network", "--device", name, "--user", "admin", "--port", port_name, "--ip", ip,
                "--netmask", "255.255.255.0", "--gateway", gateway, *extra]
        return self.lab.pc_run([*prefix, labtest.CLI, *args], input="secret\n", timeout=120)

    def sent(self):
        return [next(f["value"] for f in r["fields"] if f["code"] == 506) for r in self.requests(0, 106)]

    def test_taken_address_is_held_back_unless_forced(self):
        before = self.sent()
        held = self.set_network("mover", TAKEN)
        self.assertEqual(held.returncode, 4, held.stderr)
        self.assertEqual(held.stderr, f"Another device already answers at {TAKEN}.{NOT_SENT}")
        self.assertEqual(self.sent(), before)
        forced = self.set_network("mover", TAKEN, "198.51.100.1", "--force")
        self.assertEqual(forced.returncode, 0, forced.stderr)
        self.assertEqual(self.wait_for_request(0, 106, len(before) + 1)[-1]["deviceId"], MOVER["id"])
        self.assertEqual(self.sent(), before + [TAKEN])

    def test_free_address_is_sent_without_a_word(self):
        result = self.set_network("mover", FREE)
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        self.assertEqual(self.sent()[-1], FREE)
        self.assertRegex(neighbour_entry(self.lab, FREE), "INCOMPLETE|FAILED", "asked for on the link, no answer")

    def test_a_stale_entry_counts_only_if_its_device_still_answers(self):
        add_other_host(self.lab, 0, DEPARTED)
        self.assertIn("STALE", learn_then_stale(self.lab, 0, DEPARTED))
        remove_other_host(self.lab, 0, DEPARTED)
        result = self.set_network("mover", DEPARTED)
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        self.assertEqual(self.sent()[-1], DEPARTED)
        # The host at TAKEN is still there: its stale entry is asked about afresh and it answers.
        self.assertIn("STALE", learn_then_stale(self.lab, 0, TAKEN))
        before = self.sent()
        held = self.set_network("mover", TAKEN)
        self.assertEqual((held.returncode, held.stderr), (4, f"Another device already answers at {TAKEN}.{NOT_SENT}"))
        self.assertEqual(self.sent(), before)

    def test_a_stale_entry_without_the_right_to_ask_the_link_cannot_be_told(self):
        add_other_host(self.lab, 0, DEPARTED_TOO)
        learn_then_stale(self.lab, 0, DEPARTED_TOO)
        remove_other_host(self.lab, 0, DEPARTED_TOO)
        result = self.set_network("mover", DEPARTED_TOO, prefix=("setpriv", "--inh-caps=-net_raw", "--bounding-set=-net_raw"))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stderr, "quorvel-cli: warning: could not find out whether another device answers at "
                                        f"{DEPARTED_TOO}; sending.\n")
        self.assertEqual(self.sent()[-1], DEPARTED_TOO)

    def test_network_and_broadcast_addresses_are_refused_before_the_search(self):
        before = len(self.requests(0))
        for address, kind in (("198.51.100.255", "broadcast"), ("198.51.100.0", "network")):
            with self.subTest(address=address):
                result = self.set_network("mover", address)
                self.assertEqual((result.returncode, result.stderr),
                                 (2, f"{address} is the {kind} address of 198.51.100.0/24.\n"))
        self.assertEqual(len(self.requests(0)), before, "nothing sent, not even a search")

    def test_the_boxs_own_addresses_are_not_asked_about(self):
        for port_name, address in (("LAN1", "198.51.100.10"), ("LAN2", "198.51.100.11")):
            with self.subTest(address=address):
                result = self.set_network("keeper", address, port_name=port_name)
                self.assertEqual((result.returncode, result.stderr), (0, ""))
                self.assertEqual(self.sent()[-1], address)

    def test_outside_address_is_held_back_without_a_probe(self):
        before = self.sent()
        result = self.set_network("mover", OUTSIDE, "192.0.2.254")
        self.assertEqual(result.returncode, 4, result.stderr)
        self.assertEqual(result.stderr, f"{OUTSIDE} is not on this PC's network 198.51.100.0/24. The box will still be "
                                        "found, but its shares and web pages will not be reachable from this PC."
                                        + NOT_SENT)
        self.assertEqual(neighbour_entry(self.lab, OUTSIDE), "")
        self.assertEqual(self.sent(), before)


if __name__ == "__main__":
    unittest.main()
