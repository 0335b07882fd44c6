"""quorvel.exe never freezes: under Wine in the lab, another process sends the main window WM_NULL every
20 ms while it searches, checks a login and applies settings, and the longest wait for an answer stays
under a generous bound. The window is on screen before its first search request leaves and its list fills
only after that, its first row well before the search's end (moments on the realtime clock: the watcher's and
the boxsim log's), and a second click on
Refresh made while a search runs is not acted on."""
import sys
import time
import unittest

from console_driver import (DEVICE_LIST, MAIN, PASSWORD_FIELD, REFRESH, SHARE_LIST, TITLE, USER_FIELD, YES, ConsoleCase,
                            find_control, guilab, wait_until, watch_start)
from labtest import box, port

APPLY = 1007
BOUND_MS = 1000  # far above the 100 ms aimed at, so that a loaded machine cannot make it flake
PROBE_SECONDS = 6
SEARCH_QUIET_US = 900_000  # a search waits at least 99 quiet polls of 10 ms after its last reply
APPLY_PROBE_SECONDS = 12  # the question, then the request, the pause and the search

STORE = box(1, "store", password="s3cret", ports=[port("192.0.2.10", "255.255.255.0", "192.0.2.1")],
            shares=["Volume1"])
OTHER = box(2, "other", ports=[port("192.0.2.20", "255.255.255.0", "192.0.2.1")])


class NeverFrozen(ConsoleCase):
    NETS = 1
    BOXES = {0: [STORE, OTHER]}
    SESSION = "responsive"

    @classmethod
    def prepare(cls, gui):
        # Without a window manager on the display, Wine waits up to 2 s for one whenever a managed window
        # (the login dialog) is unmapped; unmanaged windows spare the measurement that artefact.
        gui.reg_add(r"HKCU\Software\Wine\X11 Driver", "Managed", "N")
        cls.watch_began_us = time.time_ns() // 1000
        cls.start_moments = staticmethod(watch_start(gui))  # a plain function, not a method

    def searches(self):
        return len(self.requests(0, 101))

    def measured(self, action, what, seconds=PROBE_SECONDS):
        finish = self.start_probe(seconds)
        time.sleep(0.5)  # the probe has found the window and answers come back
        action()
        result = finish()
        print(f"{what}: longest unanswered stretch {result['longestUnansweredMs']} ms "
              f"({result['probes']} probes)", file=sys.stderr)
        self.assertFalse(result["windowGone"])
        self.assertGreater(result["probes"], 20)
        self.assertLess(result["longestUnansweredMs"], BOUND_MS, what)

    def test_1_the_window_is_on_screen_before_its_first_search_leaves_and_fills_after(self):
        seen = self.start_moments()
        first = self.requests(0, 101)[0]["epochUs"]
        print(f"start: first search request at {first}, watcher {seen}", file=sys.stderr)
        self.assertIsNotNone(seen["visibleUs"], "the window never showed")
        self.assertLessEqual(self.watch_began_us, seen["visibleUs"], "the watcher's moments are not realtime")
        self.assertLessEqual(seen["visibleUs"], first, "the window was not on screen when the search left")
        self.assertIsNotNone(seen["emptyUs"], "the list had rows when the window showed")
        self.assertLessEqual(first, seen["emptyUs"], "the list had rows before the search left")
        # Both boxes answer at once; the first row is on screen as its reply is taken, long before the search's
        # quiet polls (about a second after the last reply) have passed.
        self.assertIsNotNone(seen["rowsUs"], "the list never had rows")
        self.assertLess(seen["rowsUs"] - first, SEARCH_QUIET_US, "the first row came only with the search's end")
        self.assertIn(seen["rows"], (1, 2))
        self.assertEqual([r[0] for r in self.rows(DEVICE_LIST)], ["store", "other"])

    def test_2_refresh_keeps_the_window_answering(self):
        before = self.searches()
        self.measured(lambda: self.gui.click_control(TITLE, REFRESH, **MAIN), "Refresh")
        self.assertEqual(self.searches(), before + 1)

    def test_3_a_second_click_on_refresh_during_the_search_is_dropped(self):
        wait_until(lambda: len(self.rows(DEVICE_LIST)) == 2, 60, "the filled list")
        before = self.searches()
        x, y = guilab.point_in(find_control(self.main(), REFRESH)["rect"], 0.5, 0.5)
        self.gui.xdotool("mousemove", "--sync", x, y, "click", 1, "sleep", 0.6, "click", 1)
        wait_until(lambda: self.searches() == before + 1 and len(self.rows(DEVICE_LIST)) == 2, 60,
                   "the search and the list filled again")
        time.sleep(3)  # no request may follow within 3 s
        self.assertEqual(self.searches(), before + 1)

    def test_4_login_and_apply_keep_the_window_answering(self):
        wait_until(lambda: len(self.rows(DEVICE_LIST)) == 2, 60, "the filled list")
        checks = len(self.requests(0, 102))
        # The dialog is filled in first; the probe covers its OK: the check and the share names.
        self.gui.click_row(TITLE, DEVICE_LIST, self.row_of(DEVICE_LIST, "store"), **MAIN)
        if find_control(self.gui.inspect("Login", timeout=60), USER_FIELD)["enabled"]:
            self.gui.click_control("Login", USER_FIELD)
            self.gui.type_text("admin")
        self.gui.click_control("Login", PASSWORD_FIELD)
        self.gui.type_text("s3cret")
        self.measured(lambda: self.gui.key("Return"), "login check and share names")
        self.assertGreater(len(self.requests(0, 102)), checks)
        wait_until(lambda: self.rows(SHARE_LIST), 60, "the share list")
        sent = len(self.requests(0, 106))

        def apply():  # the box's address is outside the lab PC's net: Apply asks first, and Yes sends it
            self.gui.click_control(TITLE, APPLY, **MAIN)
            self.answer_question("Warning", YES, shot="responsive-apply-question")
        self.measured(apply, "Apply", seconds=APPLY_PROBE_SECONDS)
        self.assertEqual(len(self.requests(0, 106)), sent + 1)

if __name__ == "__main__":
    unittest.main()
