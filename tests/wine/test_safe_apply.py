"""Apply's questions in quorvel.exe under Wine (the probe is the ICMP echo there: Wine offers no ARP request).
The PC is 198.51.100.1/24, another host answers at 198.51.100.44; the box's log says what was sent."""
import unittest

from console_driver import MAIN, NO, TITLE, YES, ConsoleCase, find_control, wait_until
from labtest import box, port
from lan_hosts import add_other_host, widen_pc_net

IP, APPLY, GATEWAY = 1006, 1007, 1011
TAKEN, FREE, OUTSIDE = "198.51.100.44", "198.51.100.25", "192.0.2.50"
STORE = box(70, "store", password="s3cret", ports=[port("198.51.100.10", "255.255.255.0", "198.51.100.1")])
TAKEN_TEXT = f"Another device already answers at {TAKEN}. Use this address anyway?"
OUTSIDE_TEXT = (f"{OUTSIDE} is not on this PC's network 198.51.100.0/24. The box will still be found, but its shares "
                "and web pages will not be reachable from this PC. Use this address anyway?")


class SafeApply(ConsoleCase):
    NETS = 1
    BOXES = {0: [STORE]}
    SESSION = "safe-apply"

    @classmethod
    def prepare(cls, gui):
        widen_pc_net(cls.lab)
        add_other_host(cls.lab, 0, TAKEN)

    def sent(self):
        return [next(f["value"] for f in r["fields"] if f["code"] == 506) for r in self.requests(0, 106)]

    def set_address(self, editor, address):
        self.gui.click_control(TITLE, editor, x_fraction=0.9, **MAIN)
        self.gui.key("End", *["BackSpace"] * 16)
        self.gui.type_text(address)

    def apply(self, ip, gateway="198.51.100.1"):
        self.select_box(0, "store", "s3cret", ["Volume1"])
        self.set_address(IP, ip)
        self.set_address(GATEWAY, gateway)
        self.gui.click_control(TITLE, APPLY, **MAIN)

    def wait_sent(self, before, address):
        """Waits for the settings request, then for the search that follows it to end: the next test reads the
        selection and the panel, which that search empties and fills."""
        searches = len(self.requests(0, 101))
        wait_until(lambda: len(self.sent()) == len(before) + 1, 60, "the settings request")
        self.assertEqual(self.sent(), before + [address])
        wait_until(lambda: len(self.requests(0, 101)) > searches, 60, "the search after the settings")
        self.gui.idle(TITLE, **MAIN)

    def assert_kept(self, ip):
        """The panel still shows the address, and the caret goes into the IP editor once Apply has returned."""
        rect = find_control(self.main(), IP)["rect"]
        self.gui.xdotool("mousemove", "--sync", rect["left"] - 12, rect["top"] - 12)  # keeps the window active
        window = wait_until(lambda: (w := self.main()) and w["focusId"] == IP and w, 30, "the caret in the IP editor")
        self.assertEqual(find_control(window, IP)["fields"], [int(part) for part in ip.split(".")])

    def test_1_taken_address_enter_answers_no_and_sends_nothing(self):
        before = self.sent()
        self.apply(TAKEN)
        self.assertEqual(self.answer_question("Warning", shot="taken-question"), [TAKEN_TEXT])
        self.assert_kept(TAKEN)
        self.assertEqual(self.sent(), before)

    def test_2_outside_address_no_sends_nothing(self):
        before = self.sent()
        self.apply(OUTSIDE, "192.0.2.254")
        self.assertEqual(self.answer_question("Warning", NO, shot="outside-question"), [OUTSIDE_TEXT])
        self.assert_kept(OUTSIDE)
        self.assertEqual(self.sent(), before)

    # The window sends without a question also when the probe cannot run; test_cli_wine.py shows with
    # quorvel-cli.exe that the probe runs here and finds the address free.
    def test_3_free_address_is_sent_without_a_question(self):
        before = self.sent()
        self.apply(FREE)
        self.wait_sent(before, FREE)
        self.assertEqual(self.message_boxes(), [])

    def test_4_taken_address_yes_sends_it(self):
        before = self.sent()
        self.apply(TAKEN)
        self.assertEqual(self.answer_question("Warning", YES, shot="taken-yes"), [TAKEN_TEXT])
        self.wait_sent(before, TAKEN)

    def test_5_outside_address_yes_sends_it(self):
        before = self.sent()
        self.apply(OUTSIDE, "192.0.2.254")
        self.assertEqual(self.answer_question("Warning", YES, shot="outside-yes"), [OUTSIDE_TEXT])
        self.wait_sent(before, OUTSIDE)


if __name__ == "__main__":
    unittest.main()
