"""The hidden Language and Add-on buttons under Wine, their commands posted to the main window with a box
selected. The status requests have no wire form: the language dialog polls ten times, a second apart, and
reports "Multi-language options are not supported on this device." without ever showing; the add-on
install checks the administrator (the box refuses admin without a password, so the login dialog asks),
polls for about 61 s and reports "BitTorrent does not supported on this device now.". Neither writes
anything to the box, and the main window keeps its state (no new search, the box still selected)."""
import time
import unittest

from console_driver import MAIN, TITLE, ConsoleCase, find_control, wait_until
from labtest import box, lab_port

LANGUAGE, ADDON = 1022, 1025
CHECK_PASSWORD, SEARCH = 102, 101
USER_FIELD, PASSWORD_FIELD = 1016, 1017
DEVICE_LIST = 1000
NOT_SUPPORTED = "Multi-language options are not supported on this device."
ADDON_NOT_SUPPORTED = "BitTorrent does not supported on this device now."

BOX = box(43, "codepages", model="VRX-530L", password="pw", ports=[lab_port(0, 12)], shares=["Volume1"])


class CodepageUpload(ConsoleCase):
    NETS = 1
    BOXES = {0: [BOX]}
    SESSION = "codepage"

    def test_1_language_command_ends_after_ten_polls_without_support(self):
        window = self.select_box(0, "codepages", "pw", ["Volume1"])
        selected = find_control(window, DEVICE_LIST)["selected"]
        requests_before = len(self.requests(0))

        posted = time.monotonic()
        self.gui.command(TITLE, LANGUAGE)
        message = self.gui.wait_for_window(TITLE, timeout=60, with_control=1)
        waited = time.monotonic() - posted
        self.assertGreaterEqual(waited, 9.5, "ten polls a second apart come first")
        self.assertNotIn("Language", self.message_boxes(), "the language dialog never shows")
        self.assertEqual(self.answer_message(TITLE, shot="codepage-not-supported"), [NOT_SUPPORTED], message)

        window = wait_until(lambda: self.main(), 30, "the main window")
        self.assertEqual(find_control(window, DEVICE_LIST)["selected"], selected, "no fresh start")
        self.assertEqual(len(self.requests(0)), requests_before, "no request reached the box")
        self.assertEqual([w["title"] for w in self.gui.windows()], [TITLE])

    def test_2_addon_command_checks_the_administrator_then_gives_up_after_the_polls(self):
        window = self.select_box(0, "codepages", "pw", ["Volume1"])
        selected = find_control(window, DEVICE_LIST)["selected"]
        checks_before = len(self.requests(0, CHECK_PASSWORD))
        searches_before = len(self.requests(0, SEARCH))

        self.gui.command(TITLE, ADDON)
        self.gui.inspect("Login", timeout=60)
        self.gui.click_control("Login", USER_FIELD)
        self.gui.type_text("admin")
        self.gui.click_control("Login", PASSWORD_FIELD)
        self.gui.type_text("pw")
        self.gui.key("Return")
        checks = wait_until(lambda: (c := self.requests(0, CHECK_PASSWORD)[checks_before:]) and len(c) >= 2 and c,
                            60, "both administrator checks")
        accepted = time.monotonic()

        message = self.gui.wait_for_window(TITLE, timeout=120, with_control=1)
        self.assertGreaterEqual(time.monotonic() - accepted, 55, "about 61 s of status polls come first")
        self.assertEqual(self.answer_message(TITLE, shot="addon-not-supported"), [ADDON_NOT_SUPPORTED], message)
        self.assertEqual(len(checks), 2, checks)

        window = wait_until(lambda: self.main(), 30, "the main window")
        self.assertEqual(find_control(window, DEVICE_LIST)["selected"], selected, "no fresh start")
        self.assertEqual(len(self.requests(0, SEARCH)), searches_before, "no new search")


if __name__ == "__main__":
    unittest.main()
