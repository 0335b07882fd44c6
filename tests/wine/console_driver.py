"""Driving the console's main window under Wine: selecting a box through the login dialog, answering
message boxes, picking drop-down items, clicking list rows. ConsoleCase is a LabCase that runs quorvel.exe
for the whole class; ConsoleDriving is its mixin of actions."""
import json
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "lab"))
import guilab  # noqa: E402
from labtest import LabCase  # noqa: E402
from guilab import GuiSession, find_control  # noqa: E402,F401

TITLE = "Quorvel"
DEVICE_LIST, SHARE_LIST, REFRESH, CONNECT, DISCONNECT, CONFIGURATION = 1000, 1001, 1002, 1003, 1004, 1008
DRIVE_LETTERS = 1013
USER_FIELD, PASSWORD_FIELD = 1016, 1017
YES, NO = 6, 7  # the buttons of a Yes/No message box
MAIN = {"with_control": DEVICE_LIST}  # tells the main window from message boxes that share its title


def wait_until(predicate, timeout, what, interval=0.1):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(interval)
    raise AssertionError(f"timed out after {timeout} s waiting for {what}")


def probe_responsiveness(gui, seconds):
    """quorvel-winread --responsiveness on the main window, in the background; the function returned
    waits for it and returns its JSON (longestUnansweredMs, probes, timedOut, windowGone)."""
    out = tempfile.TemporaryFile()
    proc = gui.lab.pc_exec(["wine", gui.inspect_exe, "--responsiveness", TITLE, str(seconds), "--timeout", "30"],
                           env=gui.env(), stdout=out, stderr=subprocess.DEVNULL)

    def result():
        try:
            proc.wait(timeout=seconds + 60)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
            raise AssertionError("the responsiveness probe did not end")
        out.seek(0)
        text = out.read().decode()
        out.close()
        if proc.returncode != 0:
            raise AssertionError(f"the responsiveness probe failed ({proc.returncode})")
        return json.loads(text)
    return result


def watch_start(gui, timeout=120, title=TITLE):
    """quorvel-winread --watch-start on the main window (or another window titled title with a list view of
    the device list's id), started before the program (from a session's prepare hook): returns once it
    watches; the function returned waits for its JSON (visibleUs, emptyUs, rowsUs, rows: realtime
    microseconds, as the boxsim log's epochUs)."""
    proc = gui.lab.pc_exec(["wine", gui.inspect_exe, "--watch-start", title, str(DEVICE_LIST), "--timeout",
                            str(timeout)], env=gui.env(), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    if "watching" not in proc.stdout.readline().decode():
        proc.kill()
        proc.wait()
        raise AssertionError("quorvel-winread --watch-start did not start watching")

    def result():
        try:
            out, _ = proc.communicate(timeout=timeout + 60)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
            raise AssertionError("the start watcher did not end")
        return json.loads(out.decode())
    return result


def require_built(*paths):
    for path in (guilab.QUORVEL_EXE, guilab.WINREAD_EXE, *paths):
        if not Path(path).is_file():
            raise RuntimeError(f"not built: {path}")


class ConsoleDriving:
    """Needs self.gui (a GuiSession running quorvel.exe) and the LabCase log helpers."""

    def main(self):
        return self.gui.inspect(TITLE, timeout=30, **MAIN)

    def rows(self, control_id):
        return find_control(self.main(), control_id)["rows"]

    def row_of(self, control_id, name):
        return [r[0] for r in self.rows(control_id)].index(name)

    def login(self, name, user, password):
        """Clicks the box's row and answers the login dialog."""
        self.gui.click_row(TITLE, DEVICE_LIST, self.row_of(DEVICE_LIST, name), **MAIN)
        user_field = find_control(self.gui.inspect("Login", timeout=60), USER_FIELD)
        if user_field["enabled"]:
            self.gui.click_control("Login", USER_FIELD)
            self.gui.type_text(user)
        else:  # after an Apply the dialog fixes the user name
            self.assertEqual(user_field["text"], user)
        self.gui.click_control("Login", PASSWORD_FIELD)
        self.gui.type_text(password)
        self.gui.key("Return")

    def select_box(self, net, name, password, shares, user="admin", log_name=None):
        """Logs in to a box and waits until its share list shows `shares` (volume names, in order). A box
        that is selected already, with those shares shown, stays as it is (a click would change nothing)."""
        window = self.main()
        if (find_control(window, DEVICE_LIST)["selected"] == [self.row_of(DEVICE_LIST, name)]
                and [r[0] for r in find_control(window, SHARE_LIST)["rows"]] == shares):
            return window
        before = len(self.requests(net, 164, name=log_name))
        self.login(name, user, password)
        wait_until(lambda: len(self.requests(net, 164, name=log_name)) > before, 60, f"the share names of {name}")
        return wait_until(lambda: (w := self.main()) and [r[0] for r in find_control(w, SHARE_LIST)["rows"]] == shares
                          and w, 60, f"the share list of {name}")

    def message_texts(self, caption):
        """The static texts of a message box with this caption, once it is there."""
        window = self.gui.inspect(caption, timeout=60, with_control=1)
        return [c["text"] for c in window["controls"] if c["class"] == "Static" and c["text"]]

    def press_ok(self, caption):
        self.gui.click_control(caption, 1, with_control=1)
        self.gui.wait_window_gone(caption, timeout=30, with_control=1)

    def answer_message(self, caption, shot=None):
        """Waits for a message box with this caption, returns its texts and presses OK."""
        texts = self.message_texts(caption)
        self.gui.screenshot(shot or f"message-{caption}")
        self.press_ok(caption)
        return texts

    def answer_question(self, caption, button=None, shot=None):
        """Waits for a Yes/No message box with this caption, returns its texts and clicks YES or NO, or with no
        button presses Enter (the default button)."""
        window = self.gui.inspect(caption, timeout=60, with_control=NO)
        self.gui.screenshot(shot or f"question-{caption}")
        if button is None:
            self.gui.key("Return")
        else:
            self.gui.click_control(caption, button, with_control=NO)
        self.gui.wait_window_gone(caption, timeout=30, with_control=NO)
        return [c["text"] for c in window["controls"] if c["class"] == "Static" and c["text"]]

    def choose(self, combo, index):
        """Opens a drop-down list and picks an item with the keyboard."""
        self.gui.click_control(TITLE, combo, **MAIN)
        self.gui.key("Home", *["Down"] * index, "Return")

    def choose_item(self, combo, text):
        """Picks the item with this text; returns the combo box as the inspector then shows it."""
        index = find_control(self.main(), combo)["items"].index(text)
        self.choose(combo, index)
        return wait_until(lambda: (c := find_control(self.main(), combo)) and c["curSel"] == index and c, 30,
                          f"item {text!r} chosen in {combo}")

    def click_share(self, volume):
        self.gui.click_row(TITLE, SHARE_LIST, self.row_of(SHARE_LIST, volume), **MAIN)
        wait_until(lambda: self.selected_rows(SHARE_LIST) == [self.row_of(SHARE_LIST, volume)], 30,
                   f"{volume} selected")

    def selected_rows(self, control_id):
        return find_control(self.main(), control_id)["selected"]

    def start_probe(self, seconds):
        """Starts quorvel-winread measuring how long the main window leaves WM_NULL unanswered (one
        probe every 20 ms) for `seconds`; returns a function that waits for it and gives its JSON."""
        return probe_responsiveness(self.gui, seconds)

    def message_boxes(self):
        """Titles of the visible top-level windows other than the main window."""
        return [w["title"] for w in self.gui.windows() if w["title"] != TITLE]


class ConsoleCase(LabCase, ConsoleDriving):
    """Starts quorvel.exe in the lab once for the class and closes it at the end. SESSION names the run;
    prepare(gui) runs once the prefix is up, before the program starts; started() once its window shows
    (cls.launched: when the session began); the tests once its first search has ended. BUILT lists further
    files the tests need; LOCALE is the Unix locale of the session's Wine processes (None: the caller's)."""
    SESSION = "console"
    BUILT = ()
    LOCALE = None

    @classmethod
    def setUpClass(cls):
        require_built(*cls.BUILT)
        super().setUpClass()
        try:
            cls.launched = time.monotonic()
            cls.gui = GuiSession(cls.lab, guilab.QUORVEL_EXE, name=cls.SESSION, prepare=cls.prepare,
                                 locale=cls.LOCALE)
            cls.gui.wait_for_window(TITLE, timeout=120)
            cls.started()
            cls.wait_for_first_search()
        except BaseException:
            cls.tearDownClass()
            raise

    @classmethod
    def tearDownClass(cls):
        if getattr(cls, "gui", None):
            cls.gui.close()
        super().tearDownClass()

    @classmethod
    def wait_for_first_search(cls):
        """The window is on screen before its drive map and first search run: the tests begin once that
        search has gone out and the window's work has ended, with the list showing what it found."""
        wait_until(lambda: any(cls.requests(net, 101) for net in cls.BOXES), 60, "the first search request")
        cls.gui.idle(TITLE, **MAIN)

    @classmethod
    def prepare(cls, gui):
        pass

    @classmethod
    def started(cls):
        pass
