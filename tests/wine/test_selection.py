"""Selecting a box in quorvel.exe under Wine: the login dialog, the panel, the share list, and Apply
(static and DHCP); a wrong password. The simulated boxes' request logs say what was sent."""
import unittest

from console_driver import (DEVICE_LIST, MAIN, SHARE_LIST, TITLE, YES, ConsoleCase, find_control,
                            wait_until)
from labtest import box, port

IP, APPLY, NETMASK, GATEWAY, DHCP, INTERFACE = 1006, 1007, 1010, 1011, 1015, 1016

STORE = box(1, "store", model="VRX-517L", password="s3cret",
            ports=[port("192.0.2.10", "255.255.255.0", "192.0.2.1", addr_a="a0", addr_b="b0", option=1),
                   port("192.0.2.11", "255.255.255.0", "192.0.2.1")],
            shares=["Volume1", "Recycle Bin - Volume1", "Daten", "Recycle Bin - Daten"])
LONER = box(2, "loner", ports=[port("192.0.2.20", "255.255.255.0", "192.0.2.1")], password="pw2")


class SelectingABox(ConsoleCase):
    NETS = 1
    BOXES = {0: [STORE, LONER]}
    SESSION = "selection"

    def log(self, opcode):
        return self.requests(0, opcode)

    def set_address(self, editor, address):
        """Types an address into an IPv4 editor: from the end of its last field, backspaces empty every
        field (a backspace at the start of a field moves to the one before), then the address is typed
        with its dots (a dot moves to the next field)."""
        self.gui.click_control(TITLE, editor, x_fraction=0.9, **MAIN)
        self.gui.key("End", *["BackSpace"] * 16)
        self.gui.type_text(address)

    def test_1_login_fills_the_panel_and_the_share_list(self):
        before = len(self.log(102))
        self.login("store", "admin", "s3cret")
        checks = wait_until(lambda: self.log(164) and self.log(102), 60, "the password check and the shares")
        self.assertEqual([(r["user"], r["password"]) for r in checks[before:]], [("admin", "s3cret")])
        self.assertLess(self.log(102)[-1]["time"], self.log(164)[-1]["time"])
        window = wait_until(lambda: (w := self.main()) and find_control(w, SHARE_LIST)["rows"] and w, 60,
                            "the share list")
        self.gui.screenshot("selected")
        self.assertEqual(find_control(window, SHARE_LIST)["rows"], [["Volume1", ""], ["Daten", ""]])
        interface = find_control(window, INTERFACE)
        self.assertEqual((interface["items"], interface["curSel"], interface["enabled"]), (["LAN1", "LAN2"], 0, True))
        self.assertEqual(find_control(window, IP)["fields"], [192, 0, 2, 10])
        self.assertEqual(find_control(window, NETMASK)["fields"], [255, 255, 255, 0])
        self.assertEqual(find_control(window, GATEWAY)["fields"], [192, 0, 2, 1])
        self.assertEqual(find_control(window, DHCP)["curSel"], 0)

    def test_2_static_apply_sends_one_request_and_the_list_shows_the_new_address(self):
        sent_before = len(self.log(106))
        self.set_address(IP, "192.0.2.77")
        self.gui.click_control(TITLE, APPLY, **MAIN)
        # The PC is on 198.51.100.0/27, so the address is asked about first.
        self.assertIn("192.0.2.77 is not on this PC's network 198.51.100.0/27.",
                      self.answer_question("Warning", YES)[0])
        wait_until(lambda: len(self.log(106)) == sent_before + 1, 60, "the settings request")
        request = self.log(106)[-1]
        self.assertEqual([(f["code"], f["value"]) for f in request["fields"]],
                         [(506, "192.0.2.77"), (507, "255.255.255.0"), (508, "192.0.2.1"), (509, "a0"),
                          (510, "b0"), (538, "1"), (529, "0"), (505, "0")])
        self.assertEqual((request["user"], request["password"]), ("admin", "s3cret"))
        rows = wait_until(lambda: (r := find_control(self.main(), DEVICE_LIST)["rows"]) and
                          r[0][1] == "192.0.2.77" and r, 60, "the refreshed device list")
        self.assertEqual(rows[0][:2], ["store", "192.0.2.77"])
        self.assertEqual(len(self.log(106)), sent_before + 1)

    def test_3_dhcp_apply_confirms(self):
        self.login("loner", "admin", "pw2")
        wait_until(lambda: find_control(self.main(), INTERFACE)["items"] == ["LAN"], 60, "the panel of loner")
        self.choose(DHCP, 1)
        window = wait_until(lambda: (w := self.main()) and find_control(w, DHCP)["curSel"] == 1 and w, 30,
                            "Enable chosen")
        self.assertFalse(find_control(window, IP)["enabled"])
        self.gui.click_control(TITLE, APPLY, **MAIN)
        self.assertEqual(self.answer_message("Confirm"), ["DHCP client enabled."])
        request = self.log(106)[-1]
        self.assertEqual(request["fields"][-1], {"code": 505, "length": 8, "value": "1"})

    def test_4_wrong_password_is_sent_twice_then_refused(self):
        before = len(self.log(102))
        self.login("loner", "admin", "wrong")
        self.assertEqual(self.answer_message("Error"), ["Wrong administrator password input!"])
        sent = self.log(102)[before:]
        self.assertEqual([(r["user"], r["password"]) for r in sent], [("admin", "wrong"), ("admin", "wrong")])


if __name__ == "__main__":
    unittest.main()
