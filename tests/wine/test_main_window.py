"""quorvel.exe under Wine in the lab: start-up, the device list, refresh, the drive-letter box and every
way of closing the main window. The simulated boxes' request logs say what was sent."""
import sys
import time
import unittest

from console_driver import (DEVICE_LIST, SHARE_LIST, TITLE, ConsoleCase, GuiSession, find_control, guilab,
                            require_built, wait_until)
from labtest import LabCase, box, port

REFRESH, IP, NETMASK, GATEWAY = 1002, 1006, 1010, 1011
DRIVE_LETTERS, INTERFACE, EXIT, CLOSE = 1013, 1016, 1009, 1028
HIDDEN_BUTTONS = (1022, 1025, 1032)
VISIBLE_CONTROLS = (1000, 1001, 1002, 1003, 1004, 1006, 1007, 1008, 1009, 1010, 1011, 1013, 1015, 1016, 1021,
                    1027, 1028)

ONE_PORT = box(1, "one-port", ports=[port("192.0.2.1", "255.255.255.0", "192.0.2.254")])
TWIN_A = box(2, "twin", ports=[port("192.0.2.2", "255.255.255.0", "192.0.2.254")])
TWIN_B = box(3, "twin", ports=[port("192.0.2.3", "255.255.255.128", "192.0.2.126")])
NO_PORTS = box(4, "no-ports", ports=[])
TWO_PORT = box(5, "second-port", model="VRX-517L", primaryPort=1,
               ports=[port("10.1.1.5", "255.0.0.0", "10.0.0.1"), port("172.16.8.5", "255.255.0.0", "172.16.0.1")])
BONDED = box(6, "bonded", model="VRX-530L", bonded=1, ports=[port("203.0.113.99"), port("203.0.113.98")])


class StartUpAndDeviceList(ConsoleCase):
    NETS = 2
    BOXES = {0: [ONE_PORT, TWIN_A, TWIN_B, NO_PORTS], 1: [TWO_PORT, BONDED]}
    SESSION = "main-window"

    @classmethod
    def started(cls):
        cls.shown_after = time.monotonic() - cls.launched - cls.gui.setup_seconds
        # Read at once, while the window has just become visible.
        cls.searches_when_shown = [len(cls.requests(net, 101)) for net in (0, 1)]
        cls.sims = list(cls.lab._procs)
        # The list fills when the search that starts once the window is up has ended.
        cls.first_look = wait_until(
            lambda: (w := cls.gui.inspect(TITLE, timeout=30)) and len(find_control(w, DEVICE_LIST)["rows"]) == 6 and w,
            60, "the filled device list")
        cls.filled_after = time.monotonic() - cls.launched - cls.gui.setup_seconds
        cls.gui.screenshot("started")

    def device_rows(self, window=None):
        return find_control(window or self.gui.inspect(TITLE), DEVICE_LIST)["rows"]

    def test_1_window_appears_before_its_search_has_ended_and_the_list_fills_after(self):
        print(f"window shown {self.shown_after:.1f} s, list filled {self.filled_after:.1f} s after Wine started "
              f"the program", file=sys.stderr)
        self.assertLessEqual(max(self.searches_when_shown), 1, "one search at most has gone out when it shows")
        self.assertEqual([len(self.requests(net, 101)) for net in (0, 1)], [1, 1], "one search, on every interface")

    def test_2_title_and_the_hidden_service_buttons(self):
        window = self.first_look
        self.assertEqual(window["title"], "Quorvel")
        for control_id in HIDDEN_BUTTONS:
            self.assertFalse(find_control(window, control_id)["visible"], control_id)
        for control_id in VISIBLE_CONTROLS:
            self.assertTrue(find_control(window, control_id)["visible"], control_id)

    def test_3_device_list_shows_every_box_in_search_order(self):
        devices = find_control(self.first_look, DEVICE_LIST)
        self.assertEqual([c["text"] for c in devices["columns"]], ["Name", "IP", "Netmask", "Gateway"])
        self.assertEqual(self.device_rows(self.first_look), [
            ["one-port", "192.0.2.1", "255.255.255.0", "192.0.2.254"],
            ["twin", "192.0.2.2", "255.255.255.0", "192.0.2.254"],
            ["twin", "192.0.2.3", "255.255.255.128", "192.0.2.126"],
            ["no-ports", "", "", ""],
            ["second-port", "172.16.8.5", "255.255.0.0", "172.16.0.1"],
            ["bonded", "203.0.113.99", "255.255.255.0", ""],
        ])
        shares = find_control(self.first_look, SHARE_LIST)
        self.assertEqual([c["text"] for c in shares["columns"]], ["Volume Name", "Location"])

    def test_4_drive_letter_box_lists_usable_letters_and_selects_the_first_free(self):
        letters = find_control(self.first_look, DRIVE_LETTERS)
        items = letters["items"]
        self.assertTrue(items, "Wine reports some usable letters")
        self.assertTrue(all(len(item) == 2 and item[1] == ":" for item in items), items)
        self.assertFalse({"A:", "B:"} & set(items))
        self.assertEqual(items, sorted(items, reverse=True), "table order, Z first")
        self.assertNotIn("C:", items, "Wine's C: is a fixed disk")
        self.assertEqual(letters["curSel"], 0)

    def test_5_refresh_searches_again_and_a_silent_box_is_gone(self):
        self.lab._stop([self.sims[1]])  # the simulator of net 1 stops answering
        self.gui.click_control(TITLE, REFRESH)
        wait_until(lambda: len(self.requests(0, 101)) == 2, 60, "the second search on net 0")
        # Rows show as the boxes answer: the list is read once the search has ended and Refresh is back.
        window = wait_until(lambda: (w := self.gui.inspect(TITLE, timeout=30)) and find_control(w, REFRESH)["enabled"]
                            and w, 60, "the end of the search")
        self.assertEqual([r[0] for r in self.device_rows(window)], ["one-port", "twin", "twin", "no-ports"])
        interface = find_control(window, INTERFACE)
        self.assertEqual((interface["items"], interface["enabled"]), ([], False))
        for editor in (IP, NETMASK, GATEWAY):
            self.assertTrue(find_control(window, editor)["blank"], editor)
        self.assertEqual([w["title"] for w in self.gui.windows()], ["Quorvel"], "no message box")


class EveryWayOfClosing(LabCase):
    NETS = 1
    BOXES = {0: [ONE_PORT]}

    def close_with(self, name, action):
        require_built()
        with GuiSession(self.lab, guilab.QUORVEL_EXE, name=f"close-{name}") as gui:
            gui.wait_for_window(TITLE, timeout=120)
            gui.inspect(TITLE, timeout=30)
            action(gui)
            self.assertEqual(gui.wait_exit(60), 0)

    def point_at_window(self, gui):
        """Keys go where the pointer is: over an empty spot of the window."""
        rect = gui.inspect(TITLE)["rect"]
        gui.xdotool("mousemove", "--sync", rect["left"] + 5, rect["bottom"] - 5)

    def test_exit_button(self):
        self.close_with("exit", lambda gui: gui.click_control(TITLE, EXIT))

    def test_close_button(self):
        self.close_with("close", lambda gui: gui.click_control(TITLE, CLOSE))

    def test_escape(self):
        self.close_with("escape", lambda gui: (self.point_at_window(gui), gui.key("Escape")))

    def test_enter(self):
        self.close_with("enter", lambda gui: (self.point_at_window(gui), gui.key("Return")))


if __name__ == "__main__":
    unittest.main()
