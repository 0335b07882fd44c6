"""Search over real multicast sockets between namespaces, with simulated boxes answering."""
import json
import unittest

from labtest import CLI, LabCase, box, port

ONE_PORT = box(1, "one-port", model="VRX-510L",
               ports=[port("192.0.2.1", "255.255.255.0", "192.0.2.254", "a1", "b1", "0", 1)])
TWO_PORT = box(2, "two-port", model="VRX-517L", primaryPort=1,
               ports=[port("192.0.2.2", dhcp="1"), port("10.9.8.7", "255.0.0.0", "10.0.0.1", option=0)])
BONDED = box(3, "bonded", model="VRX-530L", bonded=1,
             ports=[port("192.0.2.3"), port("192.0.2.33")])
WIDGET = box(4, "widget-model", model="VRX-510LW", auxNumber=42, auxText="eleven-char")
LOWER = box(5, "lower-case", model="vrx-510l")
TRAILING = box(6, "trailing-blank", model="VRX-510L ")
NO_MODEL = box(7, "no-model", faults={"omitModel": True})
TWICE = box(8, "answers-twice", faults={"answerTwice": True})
FOREIGN = box(9, "foreign-client", faults={"wrongClientId": True})
BAD_LENGTH = box(10, "bad-payload-length", faults={"wrongPayloadLength": True})
SILENT = box(11, "silent", faults={"silent": True})
BAD_FIELD = box(12, "bad-field", faults={"badFieldLength": True})
SECOND_NET = box(20, "second-net", model="VRX-517L")
EVERYWHERE = box(30, "on-two-nets")


class SearchShapes(LabCase):
    NETS = 3
    BOXES = {0: [ONE_PORT, TWO_PORT, BONDED, WIDGET, LOWER, TRAILING, NO_MODEL, TWICE, FOREIGN,
                 BAD_LENGTH, SILENT, BAD_FIELD, EVERYWHERE],
             1: [SECOND_NET],
             2: [EVERYWHERE]}

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.result = cls.lab.pc_run([CLI, "search", "--json"], input="", timeout=120)

    def records(self):
        self.assertEqual(self.result.returncode, 0, self.result.stderr)
        return json.loads(self.result.stdout)

    def test_lists_exactly_the_accepted_boxes_once_each(self):
        names = [r["name"] for r in self.records()]
        self.assertCountEqual(names, ["one-port", "two-port", "bonded", "widget-model", "answers-twice",
                                     "bad-field", "on-two-nets", "second-net"])

    def test_records_carry_the_configured_values(self):
        records = self.by_name(self.records())
        one = records["one-port"]
        self.assertEqual(one["id"], ONE_PORT["id"])
        self.assertEqual((one["model"], one["portCount"], one["primaryPort"], one["bonded"]), ("VRX-510L", 1, 0, 0))
        self.assertEqual(one["ports"][0], {"ip": "192.0.2.1", "netmask": "255.255.255.0", "gateway": "192.0.2.254",
                                           "addrA": "a1", "addrB": "b1", "dhcp": "0", "option": 1})
        self.assertEqual(one["ports"][1]["ip"], "")
        two = records["two-port"]
        self.assertEqual((two["portCount"], two["primaryPort"]), (2, 1))
        self.assertEqual((two["ports"][0]["dhcp"], two["ports"][1]["ip"], two["ports"][1]["gateway"]),
                         ("1", "10.9.8.7", "10.0.0.1"))
        self.assertEqual(records["bonded"]["bonded"], 1)
        widget = records["widget-model"]
        self.assertEqual((widget["auxNumber"], widget["auxText"]), (42, "eleven-char"))

    def test_records_are_bound_to_the_interface_they_arrived_on(self):
        records = self.by_name(self.records())
        pc = self.lab.pc_addresses
        self.assertEqual((records["one-port"]["interfaceIndex"], records["one-port"]["interface"]), (0, pc[0]))
        self.assertEqual((records["second-net"]["interfaceIndex"], records["second-net"]["interface"]), (1, pc[1]))
        # Reachable on interfaces 0 and 2: recorded once, on the first.
        self.assertEqual(records["on-two-nets"]["interfaceIndex"], 0)
        order = [r["interfaceIndex"] for r in self.records()]
        self.assertEqual(order, sorted(order), "records must be in interface order")

    def test_a_broken_field_ends_the_walk_but_keeps_what_came_before(self):
        record = self.by_name(self.records())["bad-field"]
        self.assertEqual(record["model"], "VRX-510L")
        self.assertEqual(record["ports"][0]["ip"], "192.0.2.12")

    def test_every_interface_got_one_search_request(self):
        for net in range(3):
            requests = self.wait_for_request(net, 101)
            self.assertEqual(len(requests), 1)
            self.assertEqual((requests[0]["length"], requests[0]["payloadLength"]), (44, 0))


class EmptyNetwork(LabCase):
    NETS = 1
    BOXES = {}

    def test_nothing_found_is_an_empty_list_and_success(self):
        self.assertEqual(self.search(), [])
        human = self.cli("search")
        self.assertEqual(human.returncode, 0, human.stderr)


class SettingsChangeIsSeenByTheNextSearch(LabCase):
    NETS = 1
    BOXES = {0: [box(40, "changing", model="VRX-517L",
                     ports=[port("192.0.2.40", addr_a="keepA", addr_b="keepB", option=1), port("192.0.2.41")])]}

    def test_static_then_dhcp(self):
        changed = self.cli("set-network", "--device", "changing", "--user", "admin", "--port", "LAN2",
                           "--ip", "172.16.5.9", "--netmask", "255.255.0.0", "--gateway", "172.16.0.1",
                           password="secret\n")
        self.assertEqual(changed.returncode, 0, changed.stderr)
        record = self.by_name(self.search())["changing"]
        self.assertEqual((record["ports"][1]["ip"], record["ports"][1]["netmask"], record["ports"][1]["gateway"]),
                         ("172.16.5.9", "255.255.0.0", "172.16.0.1"))
        self.assertEqual(record["ports"][0]["ip"], "192.0.2.40")
        sent = self.requests(0, 106)[-1]
        self.assertEqual([f["code"] for f in sent["fields"]], [506, 507, 508, 509, 510, 538, 529, 505])
        self.assertEqual([f["value"] for f in sent["fields"]][3:], ["", "", "0", "1", "0"])

        dhcp = self.cli("set-network", "--device", "changing", "--user", "admin", "--port", "LAN1", "--dhcp",
                        password="secret\n")
        self.assertEqual(dhcp.returncode, 0, dhcp.stderr)
        record = self.by_name(self.search())["changing"]
        self.assertEqual(record["ports"][0]["dhcp"], "1")
        sent = self.requests(0, 106)[-1]
        self.assertEqual([f["value"] for f in sent["fields"]][3:], ["keepA", "keepB", "1", "0", "1"])


if __name__ == "__main__":
    unittest.main()
