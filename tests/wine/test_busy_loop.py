"""The busy loop under Wine, during the main window's password check of a box that never answers commands
(two tries, about 10 s of work): the task bar's minimise and restore work, the pointer shows another cursor
than the window's own (the wait cursor), Enter on the device list's selected row is no close, and a close
(the task bar's Close, sent from another process, or Alt+F4) is recorded: the window stays until the try's
wait ends, then closes with no message, and neither the retry nor the share names are asked for. A log-off
asked for meanwhile is refused, and the window closes when the work ends. During a Refresh clicked with the
mouse (the disabled button leaves no focus, so keys come as system keys): F4 alone and a press on the list
released over Exit do nothing, and Escape closes the window when the search ends."""
import time
import unittest

from console_driver import DEVICE_LIST, MAIN, REFRESH, TITLE, ConsoleCase, find_control, guilab, wait_until
from labtest import box

SYS_COMMAND_EXE = guilab.WIN_BUILD / "tests" / "wine" / "sys_command" / "quorvel-sys-command.exe"
MUTE = box(1, "mute", faults={"commandDelayMs": 60000})
TRY_SECONDS = 5  # the quiet wait of one password check
SEARCH_SECONDS = 1.0  # the least a search lasts: a hundred quiet polls of 10 ms
EXIT = 1009


class BusyLoopCase(ConsoleCase):
    NETS = 1
    BOXES = {0: [MUTE]}
    BUILT = (SYS_COMMAND_EXE,)

    @classmethod
    def prepare(cls, gui):
        # As in test_responsive: no window manager waits when the login dialog is taken down.
        gui.reg_add(r"HKCU\Software\Wine\X11 Driver", "Managed", "N")

    def sys_command(self, action):
        code, out, _ = self.gui.run_wine(SYS_COMMAND_EXE, TITLE, action)
        return code, out.strip()

    def pointer_on_the_list(self):
        """Keys go where the pointer is (no window manager): over the device list, which has the focus."""
        x, y = guilab.point_in(find_control(self.main(), DEVICE_LIST)["rect"], 0.5, 0.5)
        self.gui.xdotool("mousemove", "--sync", x, y)

    def start_the_check(self):
        """Logs in to the mute box; returns when its first password check is on the wire, with the time."""
        wait_until(lambda: self.rows(DEVICE_LIST), 60, "the filled list")
        self.checks_before = len(self.requests(0, 102))
        self.login("mute", "admin", "secret")
        wait_until(lambda: len(self.requests(0, 102)) > self.checks_before, 30, "the password check")
        return time.monotonic()

    def click_refresh_then(self, *then):
        """Clicks Refresh with the mouse and sends `then` (xdotool commands) in the same xdotool run, with no
        round trip to the program in between; returns the number of searches before. The search starts
        after the click and lasts at least SEARCH_SECONDS, so input sent within that time from the click
        comes while the search runs, however late the loaded program reads it."""
        window = self.gui.idle(TITLE, **MAIN)
        searches = len(self.requests(0, 101))
        refresh = guilab.point_in(find_control(window, REFRESH)["rect"], 0.5, 0.5)
        sent = time.monotonic()
        self.gui.xdotool("mousemove", "--sync", *refresh, "click", 1, *then)
        self.assertLess(time.monotonic() - sent, SEARCH_SECONDS, "the input went out during the search")
        return searches

    def close_during_the_check(self, close):
        sent = self.start_the_check()
        close()
        self.assertTrue(self.main()["busy"], "the close waits for the work")
        self.gui.wait_window_gone(TITLE, timeout=60, **MAIN)
        self.assertGreater(time.monotonic() - sent, TRY_SECONDS - 1.5, "the window stayed until the try ended")
        self.assertEqual(len(self.requests(0, 102)) - self.checks_before, 1, "no retry after a close")
        self.assertEqual(self.requests(0, 164), [], "no share names after a close")
        self.assertEqual(self.gui.wait_exit(30), 0)


class TaskBar(BusyLoopCase):
    SESSION = "busy-loop"

    def test_1_minimise_restore_and_the_wait_cursor_during_the_work(self):
        self.start_the_check()
        busy_cursor = self.sys_command("cursor")
        self.assertEqual(self.sys_command("minimize"), (0, "iconic 1"))
        self.assertTrue(self.main()["busy"])
        self.assertEqual(self.sys_command("restore"), (0, "iconic 0"))
        self.pointer_on_the_list()
        self.gui.key("Return")  # on the list with its box's row selected: that row's pick, no close
        self.assertTrue(self.main()["busy"], "all of it during the work")
        self.answer_message("Error")  # the box never answered, and the handler went on to say so
        idle_cursor = self.sys_command("cursor")
        self.assertEqual((busy_cursor[0], idle_cursor[0]), (0, 0))
        self.assertNotEqual(busy_cursor, idle_cursor, "the wait cursor, not the window's own")

    def test_2_f4_alone_and_a_press_released_over_exit_do_nothing_during_a_clicked_refresh(self):
        main = self.gui.idle(TITLE, **MAIN)
        on_list = guilab.point_in(find_control(main, DEVICE_LIST)["rect"], 0.5, 0.8)
        on_exit = guilab.point_in(find_control(main, EXIT)["rect"], 0.5, 0.5)
        searches = self.click_refresh_then("key", "F4", "mousemove", "--sync", *on_list, "mousedown", 1,
                                           "mousemove", "--sync", *on_exit, "mouseup", 1)
        wait_until(lambda: len(self.requests(0, 101)) > searches, 30, "the Refresh's search")
        self.gui.idle(TITLE, **MAIN)
        time.sleep(1)  # a recorded close is acted on as soon as the work ends
        self.assertIn(TITLE, [w["title"] for w in self.gui.windows()], "the window stays")

    def test_3_escape_during_a_clicked_refresh_closes_when_the_search_ends(self):
        searches = self.click_refresh_then("sleep", 0.3, "key", "Escape")
        self.gui.wait_window_gone(TITLE, timeout=60, **MAIN)
        self.assertGreater(len(self.requests(0, 101)), searches, "the search ran")
        self.assertEqual(self.gui.wait_exit(30), 0)
        # Opened again for the task bar's case, which begins once the new window's first search has ended.
        searches = len(self.requests(0, 101))
        self.gui.start_program()
        self.gui.wait_for_window(TITLE, timeout=120)
        wait_until(lambda: len(self.requests(0, 101)) > searches, 60, "the first search request")
        self.gui.idle(TITLE, **MAIN)

    def test_4_the_task_bars_close_waits_for_the_work(self):
        self.close_during_the_check(lambda: self.assertEqual(self.sys_command("close"), (0, "")))


class AltF4(BusyLoopCase):
    SESSION = "busy-loop-alt-f4"

    def test_alt_f4_waits_for_the_work(self):
        def alt_f4():
            self.pointer_on_the_list()
            self.gui.key("alt+F4")
        self.close_during_the_check(alt_f4)


class LogOff(BusyLoopCase):
    SESSION = "busy-loop-log-off"

    def test_a_log_off_is_refused_and_the_window_closes_when_the_work_ends(self):
        self.close_during_the_check(lambda: self.assertEqual(self.sys_command("query-end-session"), (0, "answer 0")))


if __name__ == "__main__":
    unittest.main()
