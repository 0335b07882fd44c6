"""Search over real multicast sockets between namespaces, with simulated boxes answering."""
import json
import secrets
import struct
import subprocess
import sys
import time
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
                           "--force", password="secret\n")  # off the PC's network: held back without --force
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


def search_request(client_id):
    """A search request as any program sends it: header only, magic 55AA, opcode 101."""
    return struct.pack("<HHHH8s8s18sH", 0x55AA, 101, 0, 0, client_id, bytes(8), bytes(18), 0)


# Sends datagrams to the group through the interface with address argv[1] for argv[3] seconds:
# argv[2] "noise" (garbage every 5 ms) or a hex search request sent at each of the times in argv[4:].
SENDER = r"""
import socket, sys, time
address, what, seconds = sys.argv[1], sys.argv[2], float(sys.argv[3])
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.bind((address, 0))
s.setsockopt(socket.IPPROTO_IP, socket.IP_MULTICAST_IF, socket.inet_aton(address))
start = time.monotonic()
if what == "noise":
    while time.monotonic() - start < seconds:
        s.sendto(b"\x5a" * 60, ("224.0.0.10", 24680))
        time.sleep(0.005)
else:
    for at in map(float, sys.argv[4:]):
        time.sleep(max(0.0, start + at - time.monotonic()))
        s.sendto(bytes.fromhex(what), ("224.0.0.10", 24680))
"""


def table(records):
    return [(r["name"], r["interfaceIndex"], r["interface"]) for r in records]


# Listens on the group in the PC namespace through the interface with address argv[1] for argv[2] seconds and
# prints the arrival time (time.monotonic) of every datagram sent from address argv[3].
LISTENER = r"""
import socket, sys, time
address, seconds, source = sys.argv[1], float(sys.argv[2]), sys.argv[3]
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(("0.0.0.0", 24680))
s.setsockopt(socket.IPPROTO_IP, socket.IP_ADD_MEMBERSHIP, socket.inet_aton("224.0.0.10") + socket.inet_aton(address))
print("ready", flush=True)
end = time.monotonic() + seconds
while (left := end - time.monotonic()) > 0:
    s.settimeout(left)
    try:
        data, sender = s.recvfrom(2048)
    except socket.timeout:
        break
    if sender[0] == source:
        print(time.monotonic(), flush=True)
"""


class LateReplyOnOneNet(LabCase):
    """A box on net 0 answers 1.5 s after the request, when interface 0 has stopped listening; interface 1
    still listens then, because chatter on net 1 holds its polls to the deadline.
    The reply must not be taken on interface 1, not even to be dropped there as another program's: the
    doctor's figures of lan1 show what its socket took."""
    NETS = 2
    BOXES = {0: [box(50, "late", replyDelayMs=1500)], 1: [box(51, "second-net")]}

    def test_a_late_reply_is_not_taken_by_another_interface(self):
        listener = self.lab.pc_exec([sys.executable, "-c", LISTENER, self.lab.pc_addresses[0], "4",
                                     self.lab.box_address(0)], stdout=subprocess.PIPE, text=True)
        self.assertEqual(listener.stdout.readline(), "ready\n")
        self.lab.box_popen(1, [sys.executable, "-c", SENDER, self.lab.box_address(1), "noise", "6"])
        began = time.monotonic()
        result = self.cli("doctor", "--json")
        ended = time.monotonic()
        self.assertEqual(result.returncode, 0, result.stderr)
        report = json.loads(result.stdout)
        lan = {entry["name"]: entry for entry in report["interfaces"]}
        self.assertEqual((lan["lan0"]["boxes"], lan["lan1"]["boxes"]), (0, 1), report)
        self.assertEqual(lan["lan1"]["dropped"]["foreign"], 0, "lan1 took net 0's late reply")
        # The premise: the late reply reached the PC while interface 1 was still waiting for replies (its
        # polls ran on to the deadline, about 2 s, held by the chatter).
        arrivals = [float(line) - began for line in listener.communicate(timeout=30)[0].split()]
        self.assertEqual(len(arrivals), 1, "the late box's reply did not reach the PC")
        self.assertTrue(1.4 < arrivals[0] < ended - began, (arrivals, ended - began))
        self.assertGreater(ended - began, 1.7, "the chatter did not hold interface 1's polls")


class SearchesAtTheSameMoment(LabCase):
    """Two quorvel-cli searches on one PC at once, and a third program searching with its own client id on
    both nets meanwhile: every search gets the whole table, and no reply to another program adds a record."""
    NETS = 2
    BOXES = {0: [box(60, "zero-a"), box(61, "zero-b", replyDelayMs=20)], 1: [box(62, "one-a")]}
    EXPECTED = {"zero-a": 0, "zero-b": 0, "one-a": 1}

    def test_each_search_gets_the_full_table(self):
        other = secrets.token_bytes(8)
        request = search_request(other).hex()
        times = ["0.0", "0.1", "0.2", "0.4", "0.6", "0.8"]  # while the searches wait for replies
        clis = [self.lab.pc_exec([CLI, "search", "--json"], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                 stderr=subprocess.PIPE, text=True) for _ in range(2)]
        senders = [self.lab.pc_exec([sys.executable, "-c", SENDER, address, request, "3", *times])
                   for address in self.lab.pc_addresses]
        for cli in clis:
            out, err = cli.communicate(timeout=60)
            self.assertEqual(cli.returncode, 0, err)
            records = json.loads(out)
            self.assertEqual({r["name"]: r["interfaceIndex"] for r in records}, self.EXPECTED)
            self.assertEqual(len(records), len(self.EXPECTED))
        # The premise: the boxes heard three programs' searches on each net.
        for sender in senders:
            sender.wait(timeout=30)
        for net in range(2):
            self.wait_for_request(net, 101, count=2 + len(times))
            clients = {r["clientId"] for r in self.requests(net, 101)}
            self.assertEqual(len(clients), 3, clients)
            self.assertIn(other.hex(), clients)


class FourNetsTableAsOneAtATime(LabCase):
    """Boxes on four nets, one of them on nets 1 and 3, answering with delays that fix their arrival order.
    The table is the one a search of one interface after another makes, record by record."""
    NETS = 4
    SHARED = box(79, "on-nets-1-and-3", replyDelayMs=60)
    BOXES = {0: [box(70, "zero-late", replyDelayMs=40), box(71, "zero-early")],
             1: [box(72, "one-early", replyDelayMs=20), SHARED],
             2: [box(73, "two")],
             3: [dict(SHARED, replyDelayMs=0), box(74, "three", replyDelayMs=30)]}

    def test_table_equals_the_one_at_a_time_table(self):
        pc = self.lab.pc_addresses
        expected = [("zero-early", 0, pc[0]), ("zero-late", 0, pc[0]),
                    ("one-early", 1, pc[1]), ("on-nets-1-and-3", 1, pc[1]),
                    ("two", 2, pc[2]),
                    ("three", 3, pc[3])]
        self.assertEqual(table(self.search()), expected)
        # Every interface sent its request at nearly the same moment: within the drain's second of one another.
        sent = [self.requests(net, 101)[0]["time"] for net in range(4)]
        self.assertLess(max(sent) - min(sent), 1.0, sent)


if __name__ == "__main__":
    unittest.main()
