"""quorvel.exe under Wine for a screen reader and a keyboard: every control's accessible name as the
accessibility interface reports it (main window, login dialog, drive-letter-in-use dialog), and a box
selected, logged in to and searched again with the keyboard alone, with the focus cue only after keys and
never for the mouse."""
import subprocess
import unittest

from console_driver import (CONNECT, DEVICE_LIST, DRIVE_LETTERS, MAIN, REFRESH, SHARE_LIST, TITLE, ConsoleCase,
                            find_control, wait_until)
from guilab import bitmap
from labtest import box, lab_port
import testnet

LOGIN, PASSWORD_FIELD, USER_FIELD = "Login", 1017, 1016
INTERFACE, IP, NETMASK, GATEWAY = 1016, 1006, 1010, 1011
ABOUT, ABOUT_TITLE = 1021, "About Quorvel"
MOUNT_MESSAGE = {"cls": "#32770", "with_control": 2}  # the drive-letter-in-use dialog has no caption
HOST = "198.51.100.10"

MAIN_NAMES = {
    1000: "Network Storage Device", 1002: "Refresh", 1008: "Configuration",
    1016: "Interface :", 1006: "I P :", 1010: "Netmask :", 1011: "Gateway :", 1015: "Receive DHCP :", 1007: "Apply",
    1001: "Drive Mapping", 1013: "Available Drive Letters :", 1003: "Connect", 1004: "Disconnect",
    1021: "About", 1009: "Exit", 1027: "Minimize", 1028: "Close",
    1022: "Language", 1025: "Add-on", 1032: "Widget",  # the hidden services' buttons
}
LOGIN_NAMES = {USER_FIELD: "User name :", PASSWORD_FIELD: "Password :", 1: "OK", 2: "Cancel"}
MOUNT_NAMES = {1: "OK", 2: "Cancel"}
# Tab from the device list: every visible, enabled control once, in this order, back to the list.
TAB_ORDER = [1002, 1008, 1016, 1006, 1010, 1011, 1015, 1007, 1001, 1013, 1003, 1004, 1021, 1009, 1027, 1028, 1000]

STORE = box(1, "store", model="VRX-517L", password="pw",
            ports=[lab_port(0, 10), lab_port(0, 12)], shares=["Volume1", "Recycle Bin - Volume1"])
OTHER = box(2, "other", ports=[lab_port(0, 11)], password="other-pw", shares=["Daten"])


def names_of(window):
    """{id: accessible name} of the window's own controls, and {(editor id, field): name} of the fields of
    its address editors, the fields counted from the left."""
    names = {c["id"]: c["accName"] for c in window["controls"] if not c["nested"]}
    for editor in (c for c in window["controls"] if c["class"] == "SysIPAddress32"):
        fields = sorted((c for c in window["controls"] if c["nested"] and c["parentId"] == editor["id"]),
                        key=lambda c: c["rect"]["left"])
        names.update({(editor["id"], n): c["accName"] for n, c in enumerate(fields, 1)})
    return names


class AccessibleNames(ConsoleCase):
    """Each named control reports its name through the accessibility interface (a wrapper's too)."""
    NETS = 1
    BOXES = {0: [STORE]}
    SESSION = "accessible-names"

    @classmethod
    def prepare(cls, gui):
        """The test network with an earlier connection of V:, so that choosing V: asks first."""
        cls.net = testnet.TestNetwork(gui)
        for share in ("Volume1", "Old"):
            cls.net.share(HOST, share)
        if cls.net.use("V:", rf"\\{HOST}\Old") != 0:
            raise RuntimeError(f"the earlier connection of V: failed: {cls.net.calls()}")

    def assert_names(self, window, expected):
        names = names_of(window)
        self.assertEqual({key: names.get(key) for key in expected}, expected)

    def test_1_main_window(self):
        window = self.gui.inspect(TITLE, timeout=30, names=True, **MAIN)
        fields = {(editor, n): f"{MAIN_NAMES[editor]} field {n}" for editor in (IP, NETMASK, GATEWAY)
                  for n in range(1, 5)}
        self.assert_names(window, {**MAIN_NAMES, **fields})

    def test_2_login_dialog(self):
        self.gui.click_row(TITLE, DEVICE_LIST, 0, **MAIN)
        self.assert_names(self.gui.inspect(LOGIN, timeout=60, names=True), LOGIN_NAMES)
        self.gui.click_control(LOGIN, USER_FIELD)
        self.gui.type_text("admin")
        self.gui.click_control(LOGIN, PASSWORD_FIELD)
        self.gui.type_text("pw")
        self.gui.key("Return")
        wait_until(lambda: find_control(self.main(), SHARE_LIST)["rows"], 60, "the share list of store")

    def test_3_drive_letter_in_use_dialog(self):
        self.click_share("Volume1")
        self.choose_item(DRIVE_LETTERS, rf"V: \\{HOST}\Old")
        self.gui.click_control(TITLE, CONNECT, **MAIN)
        self.assert_names(self.gui.inspect("", timeout=60, names=True, **MOUNT_MESSAGE), MOUNT_NAMES)
        self.gui.click_control("", 2, **MOUNT_MESSAGE)
        self.gui.wait_window_gone("", timeout=30, **MOUNT_MESSAGE)


class KeyboardOnly(ConsoleCase):
    """After one mouse click (no focus cue), the keyboard alone: Tab order, the selection by Enter, the
    login, Space on Refresh with its focus cue."""
    NETS = 1
    BOXES = {0: [OTHER, STORE]}
    SESSION = "keyboard"

    def face(self, control_id, name):
        """The pixels (r, g, b) of a button's face area as the screen shows it, row by row."""
        rect = find_control(self.main(), control_id)["rect"]
        width, height = rect["right"] - rect["left"], rect["bottom"] - rect["top"]
        shot = self.gui.screenshot(name)
        raw = subprocess.run(["convert", shot, "-crop", f"{width}x{height}+{rect['left']}+{rect['top']}",
                              "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
        return [[tuple(raw[3 * (y * width + x):3 * (y * width + x) + 3]) for x in range(width)]
                for y in range(height)]

    def differences(self, control_id, normal, name):
        shown = self.face(control_id, name)
        picture = bitmap(normal)
        return {(x, y) for y, row in enumerate(shown) for x, colour in enumerate(row)
                if y < len(picture) and x < len(picture[y]) and colour != picture[y][x]}

    def park_pointer(self):
        """On the background left of the Refresh button, over no control: keys go to the window."""
        rect = find_control(self.main(), REFRESH)["rect"]
        self.gui.xdotool("mousemove", "--sync", rect["left"] - 12, rect["bottom"] + 3)

    def focus(self, title=TITLE):
        return (self.main() if title == TITLE else self.gui.inspect(title))["focusId"]

    def press(self, key, focus, what, title=TITLE):
        """Presses the key, then waits until the window's focus is on control `focus`; a key is handled
        after the press returns, so the focus is never read straight after it."""
        self.gui.key(key)
        wait_until(lambda: self.focus(title) == focus, 30, f"the focus on {focus} after {key} ({what})")

    def tab_round(self, stop):
        """Tab after Tab, each time waiting for the focus to move; the controls visited, up to `stop`."""
        visited = [self.focus()]
        for _ in TAB_ORDER:
            self.gui.key("Tab")
            visited.append(wait_until(lambda: (f := self.focus()) != visited[-1] and f, 30,
                                      f"the focus to leave {visited[-1]} after Tab"))
            if visited[-1] == stop:
                break
        return visited[1:]

    def typed(self, title, field, text):
        """Types the text into the focused field and waits until the field holds it."""
        self.gui.type_text(text)
        wait_until(lambda: find_control(self.gui.inspect(title), field)["text"] == text, 30, f"{field} = {text}")

    def searches(self):
        return len(self.requests(0, 101))

    def test_1_a_mouse_click_shows_no_focus_cue(self):
        before = self.searches()
        self.gui.click_control(TITLE, REFRESH, **MAIN)
        wait_until(lambda: self.searches() > before and self.focus() == REFRESH, 60, "the search after the click")
        self.park_pointer()
        wait_until(lambda: not self.differences(REFRESH, 284, "mouse-refresh"), 20, "the plain Refresh face")

    def test_2_keyboard_alone_selects_logs_in_and_searches(self):
        self.park_pointer()
        # From Refresh, focused by the click before, round to the device list.
        self.assertEqual(self.tab_round(DEVICE_LIST), [c for c in TAB_ORDER[1:] if c != INTERFACE],
                         "Interface is disabled")
        self.press("shift+Tab", 1028, "back from the device list")
        self.press("Tab", DEVICE_LIST, "on to the device list")

        store = [r[0] for r in self.rows(DEVICE_LIST)].index("store")
        wait_until(lambda: self.gui.key("Down") or find_control(self.main(), DEVICE_LIST)["selected"] == [store],
                   30, "store selected by the arrow key", interval=0.5)
        self.assertNotIn(LOGIN, [w["title"] for w in self.gui.windows()], "an arrow key only moves the selection")
        self.gui.key("Return")
        login = self.gui.inspect(LOGIN, timeout=60)
        self.assertEqual(login["focusId"], USER_FIELD)
        self.typed(LOGIN, USER_FIELD, "admin")
        self.press("Tab", PASSWORD_FIELD, "in the login", title=LOGIN)
        self.gui.type_text("pw")
        wait_until(lambda: len(find_control(self.gui.inspect(LOGIN), PASSWORD_FIELD)["text"]) == 2, 30,
                   "two characters in the password field")
        self.gui.key("Return")
        window = wait_until(lambda: (w := self.main()) and find_control(w, SHARE_LIST)["rows"] and
                            find_control(w, INTERFACE)["items"] and not w.get("busy") and w, 60,
                            "the panel and share list of store")
        self.assertEqual(find_control(window, SHARE_LIST)["rows"], [["Volume1", ""]])
        self.assertEqual(find_control(window, INTERFACE)["items"], ["LAN1", "LAN2"])
        self.assertEqual(self.requests(0, 102)[-1]["password"], "pw")

        self.assertEqual(self.tab_round(None), TAB_ORDER, "the whole round, Interface enabled now")
        self.press("Tab", REFRESH, "the round begins again")
        cue = self.differences(REFRESH, 284, "focus-cue")
        rect = find_control(self.main(), REFRESH)["rect"]
        width, height = rect["right"] - rect["left"], rect["bottom"] - rect["top"]
        ring = {(x, y) for x in range(3, width - 3) for y in (3, height - 4)} | \
               {(x, y) for y in range(3, height - 3) for x in (3, width - 4)}
        self.assertTrue(cue, "the focused button shows a cue")
        self.assertLessEqual(cue, ring, "the cue is a dotted rectangle inside the face; the rest is the face")

        before = self.searches()
        self.gui.key("space")
        wait_until(lambda: self.searches() > before, 60, "the search that Space on Refresh starts")
        self.gui.screenshot_with_pointer("wait-cursor")  # the search blocks the window: the wait cursor shows
        self.assertEqual([w["title"] for w in self.gui.windows()], [TITLE], "no dialog, the window still open")

        wait_until(lambda: self.focus() == REFRESH, 60, "the focus back on Refresh after its search")
        for control in (DEVICE_LIST, 1028, 1027, 1009, ABOUT):  # back from Refresh to About
            self.press("shift+Tab", control, "backwards")
        self.gui.key("Return")  # presses the focused button, not the window's default command
        self.gui.wait_for_window(ABOUT_TITLE, timeout=60)
        self.gui.key("Escape")
        self.gui.wait_window_gone(ABOUT_TITLE, timeout=30)
        self.assertEqual([w["title"] for w in self.gui.windows()], [TITLE])


if __name__ == "__main__":
    unittest.main()
