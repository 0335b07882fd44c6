"""The Wine GUI harness, proved on the probe dialog: quorvel-winread reads every kind of control, xdotool
clicks and types reach the right controls, screenshots show the screen, and a session leaves nothing
behind. Also the lab run driver (tools/run_lab_gui.py), on the same probe."""
import os
import re
import signal
import subprocess
import sys
import tempfile
import threading
import time
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
REPO = HERE.parents[1]
sys.path.insert(0, str(REPO / "tools" / "lab"))
import lab  # noqa: E402
import guilab  # noqa: E402
from guilab import GuiError, GuiSession, find_control  # noqa: E402

PROBE_EXE = guilab.WIN_BUILD / "tests" / "wine" / "gui_probe" / "quorvel-gui-probe.exe"
TITLE = "Quorvel Probe"
LIST, ADD, LAST, ADDRESS, DISABLED, EXIT, NETMASK, GATEWAY = 1000, 1002, 1005, 1006, 1008, 1009, 1010, 1011
COMBO, NAME, ABOUT, HIDDEN, COUNTER, CHECK = 1013, 1020, 1021, 1022, 1030, 1031
PROBE_EXIT_CODE, IDCANCEL, IDOK = 3, 2, 1
LVS_EX_FULLROWSELECT = 0x20
INITIAL_ROWS = 13


def require_built():
    for path in (PROBE_EXE, guilab.WINREAD_EXE):
        if not path.is_file():
            raise RuntimeError(f"not built: {path}")


def wait_until(predicate, timeout, what):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if predicate():
            return
        time.sleep(0.05)
    raise AssertionError(f"timed out after {timeout} s waiting for {what}")


def namespace_pids(name):
    return subprocess.run([lab.find_ip(), "netns", "pids", name], capture_output=True, text=True).stdout.split()


class LabClass(unittest.TestCase):
    """One lab (one net, no boxes: the probe sends nothing) for the class."""

    @classmethod
    def setUpClass(cls):
        require_built()
        cls.lab = lab.Lab(nets=1)

    @classmethod
    def tearDownClass(cls):
        cls.lab.close()

    def start_probe(self):
        gui = GuiSession(self.lab, PROBE_EXE, name=self.id().rsplit(".", 2)[-1])
        self.addCleanup(gui.close)
        gui.wait_for_window(TITLE)
        return gui


class InspectorReadsTheProbe(LabClass):
    """Read-only checks against one untouched probe window."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        try:
            cls.gui = GuiSession(cls.lab, PROBE_EXE, name="inspector-reads")
            cls.gui.wait_for_window(TITLE)
            cls.window = cls.gui.inspect(TITLE)
        except BaseException:
            cls.tearDownClass()
            raise

    @classmethod
    def tearDownClass(cls):
        if hasattr(cls, "gui"):
            cls.gui.close()
        super().tearDownClass()

    def test_list_view_columns_rows_item_data_and_selection(self):
        view = find_control(self.window, LIST)
        self.assertEqual(view["class"], "SysListView32")
        self.assertEqual(view["columns"], [{"text": "Name", "width": 94}, {"text": "IP", "width": 85}])
        self.assertEqual(len(view["rows"]), INITIAL_ROWS)
        self.assertEqual(view["rows"][0], ["box-00", "192.0.2.10"])
        self.assertEqual(view["rows"][11], ["box-11", "192.0.2.21"])
        self.assertEqual(view["itemData"], [1000 + i for i in range(12)] + [0])
        self.assertEqual((view["selected"], view["topIndex"]), ([], 0))
        self.assertTrue(view["extendedStyle"] & LVS_EX_FULLROWSELECT)

    def test_ansi_texts_arrive_as_utf8(self):
        self.assertEqual(find_control(self.window, LIST)["rows"][12], ["caf\u00e9", "-"])

    def test_combo_items_and_current_selection(self):
        combo = find_control(self.window, COMBO)
        self.assertEqual((combo["items"], combo["curSel"], combo["dropped"]), (["D:", "E:", "F:"], 1, False))

    def test_address_controls_filled_and_blank(self):
        address, netmask = find_control(self.window, ADDRESS), find_control(self.window, NETMASK)
        self.assertEqual((address["blank"], address["filled"], address["fields"], address["fieldTexts"]),
                         (False, 4, [192, 0, 2, 10], ["192", "0", "2", "10"]))
        self.assertEqual((netmask["blank"], netmask["filled"], netmask["fields"], netmask["fieldTexts"]),
                         (True, 0, [0, 0, 0, 0], ["", "", "", ""]))

    def test_visible_enabled_and_checked_flags(self):
        flags = {i: (find_control(self.window, i)["visible"], find_control(self.window, i)["enabled"])
                 for i in (ADD, DISABLED, HIDDEN)}
        self.assertEqual(flags, {ADD: (True, True), DISABLED: (True, False), HIDDEN: (False, True)})
        self.assertEqual(find_control(self.window, CHECK)["checked"], 0)
        self.assertNotIn("checked", find_control(self.window, ADD), "a push button has no check state")
        self.assertEqual(find_control(self.window, COUNTER)["text"], "clicks: 0")

    def test_parts_of_controls_are_nested_under_their_control(self):
        nested = [(c["class"], c["parentId"]) for c in self.window["controls"] if c["nested"]]
        self.assertIn(("SysHeader32", LIST), nested)
        self.assertEqual(nested.count(("Edit", ADDRESS)), 4)
        self.assertEqual(find_control(self.window, LIST)["class"], "SysListView32")

    def test_geometry_is_in_screen_coordinates(self):
        outer = self.window["rect"]
        for control in self.window["controls"]:
            r = control["rect"]
            self.assertTrue(outer["left"] <= r["left"] < r["right"] <= outer["right"]
                            and outer["top"] <= r["top"] < r["bottom"] <= outer["bottom"], control)
        view = find_control(self.window, LIST)
        first = guilab.row_rect(view, 0)
        self.assertGreater(first["top"], view["rect"]["top"], "row 0 sits below the header")
        with self.assertRaises(GuiError):
            guilab.row_rect(view, 12)  # scrolled out of the short list

    def test_window_summary_and_list_of_windows(self):
        self.assertEqual((self.window["title"], self.window["class"], self.window["visible"]),
                         (TITLE, "#32770", True))
        self.assertIn((TITLE, self.window["hwnd"]), [(w["title"], w["hwnd"]) for w in self.gui.windows()])

    def test_missing_window_fails_after_the_wait(self):
        with self.assertRaises(GuiError):
            self.gui.inspect("No Such Window")
        started = time.monotonic()
        with self.assertRaises(GuiError):
            self.gui.wait_for_window("No Such Window", timeout=2)
        self.assertGreaterEqual(time.monotonic() - started, 2)
        with self.assertRaises(GuiError):
            self.gui.inspect(TITLE, cls="NoSuchClass")

    def test_inspector_exit_codes(self):
        self.assertEqual(self.gui.run_inspector("--title", "No Such Window")[0], 1)
        self.assertEqual(self.gui.run_inspector("--wait-gone", "No Such Window", "--timeout", "0")[0], 0)
        code, _, err = self.gui.run_inspector("--bogus")
        self.assertEqual(code, 2)
        self.assertIn("usage:", err)


class DrivingTheProbe(LabClass):
    """Clicks and keys through xdotool, judged by the inspector; a fresh probe for each test."""

    def setUp(self):
        self.gui = self.start_probe()

    def control(self, control_id):
        return self.gui.control(TITLE, control_id)

    def test_typed_name_is_added_by_one_click(self):
        self.gui.click_control(TITLE, NAME)
        self.gui.type_text("nas-7")
        self.gui.click_control(TITLE, ADD)
        window = self.gui.inspect(TITLE)
        view = find_control(window, LIST)
        self.assertEqual(find_control(window, NAME)["text"], "nas-7")
        self.assertEqual((view["rows"][-1], view["itemData"][-1], view["selected"]),
                         (["nas-7", "0.0.0.0"], 2000 + INITIAL_ROWS, [INITIAL_ROWS]))
        combo = find_control(window, COMBO)
        self.assertEqual((combo["items"][-1], combo["curSel"]), ("nas-7", 3))
        self.assertEqual(find_control(window, NETMASK)["fields"], [255, 255, 255, 0])
        self.assertEqual(find_control(window, COUNTER)["text"], "clicks: 1")
        self.gui.click_control(TITLE, ADD)
        self.assertEqual(self.control(COUNTER)["text"], "clicks: 2")
        self.assertEqual(len(self.control(LIST)["rows"]), INITIAL_ROWS + 2)

    def test_rows_are_clicked_where_the_list_shows_them(self):
        self.gui.click_control(TITLE, LAST)
        view = self.control(LIST)
        self.assertEqual(view["selected"], [INITIAL_ROWS - 1])
        self.assertGreater(view["topIndex"], 0)
        with self.assertRaises(GuiError):
            self.gui.click_row(TITLE, LIST, 0)
        self.gui.click_row(TITLE, LIST, view["topIndex"])
        self.assertEqual(self.control(LIST)["selected"], [view["topIndex"]])

    def test_check_box_and_combo_by_mouse_and_keys(self):
        self.gui.click_control(TITLE, CHECK, x_fraction=0.1)
        self.assertEqual(self.control(CHECK)["checked"], 1)
        self.gui.click_control(TITLE, COMBO)
        self.assertTrue(self.control(COMBO)["dropped"])
        self.gui.key("Down", "Return")
        combo = self.control(COMBO)
        self.assertEqual((combo["curSel"], combo["dropped"]), (2, False))

    def test_address_typed_field_by_field(self):
        self.gui.click_control(TITLE, GATEWAY, x_fraction=0.1)
        self.gui.type_text("203.0.113.9")
        gateway = self.control(GATEWAY)
        self.assertEqual((gateway["blank"], gateway["filled"], gateway["fields"]), (False, 4, [203, 0, 113, 9]))
        self.assertEqual(self.control(ADDRESS)["fields"], [192, 0, 2, 10], "the other address is untouched")

    def test_message_box_with_the_same_caption(self):
        self.gui.click_control(TITLE, ABOUT)
        box = self.gui.wait_for_window(TITLE, with_control=IDOK)
        self.assertEqual([w["hwnd"] for w in self.gui.windows() if w["title"] == TITLE][0], box["hwnd"],
                         "the message box is above the dialog")
        self.assertEqual(find_control(self.gui.inspect(TITLE, with_control=IDOK), 65535)["text"], "probe about")
        self.assertFalse(self.gui.inspect(TITLE, with_control=LIST)["enabled"], "the box is modal")
        self.gui.screenshot("message-box")
        self.gui.key("Return")
        self.gui.wait_window_gone(TITLE, with_control=IDOK, timeout=30)
        self.assertTrue(self.gui.inspect(TITLE, with_control=LIST)["enabled"])

    def test_screenshot_shows_the_window(self):
        path = self.gui.screenshot("probe")
        size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True, check=True)
        self.assertEqual(size.stdout, "1024 768")
        client = self.gui.inspect(TITLE)["clientRect"]
        inside = guilab.point_in(client, 0.75, 0.9)
        self.assertNotEqual(pixel(path, *inside), pixel(path, 1020, 764), "the dialog differs from the root")


def pixel(path, x, y):
    return subprocess.run(["convert", path, "-format", f"%[pixel:p{{{x},{y}}}]", "info:"],
                          capture_output=True, text=True, check=True).stdout


class EndingTheProbe(LabClass):
    """How a program ends, and that a session leaves nothing behind."""

    def test_exit_button_ends_with_its_code(self):
        gui = self.start_probe()
        gui.click_control(TITLE, EXIT)
        self.assertEqual(gui.wait_exit(30), PROBE_EXIT_CODE)

    def test_escape_ends_with_cancel(self):
        gui = self.start_probe()
        gui.click_control(TITLE, COUNTER)  # the dialog itself, not a control that eats keys
        gui.key("Escape")
        self.assertEqual(gui.wait_exit(30), IDCANCEL)

    def test_close_leaves_nothing_behind(self):
        gui = self.start_probe()
        number, prefix_root = gui.xvfb.number, gui.prefix.root
        gui.close()
        self.assertIsNotNone(gui.proc.poll())
        self.assertFalse(prefix_root.exists())
        self.assertFalse(guilab.display_in_use(number))
        wait_until(lambda: not namespace_pids(self.lab.ns_pc), 30, "the PC namespace to be empty")
        gui.close()  # again: harmless

    def test_program_that_ends_early_is_reported(self):
        gui = GuiSession(self.lab, guilab.WINREAD_EXE, args=["--bogus"], name="ends-early")
        self.addCleanup(gui.close)
        with self.assertRaisesRegex(GuiError, "exited with 2"):
            gui.wait_for_window(TITLE, timeout=5)


class DisplayNumbers(unittest.TestCase):
    def test_skips_numbers_with_a_socket_or_a_lock(self):
        with tempfile.TemporaryDirectory() as sockets, tempfile.TemporaryDirectory() as locks:
            self.assertEqual(guilab.free_display(20, Path(sockets), Path(locks)), 20)
            (Path(sockets) / "X20").touch()
            (Path(locks) / ".X21-lock").touch()
            self.assertEqual(guilab.free_display(20, Path(sockets), Path(locks)), 22)
            (Path(sockets) / f"X{guilab.LAST_DISPLAY}").touch()
            with self.assertRaises(GuiError):
                guilab.free_display(guilab.LAST_DISPLAY, Path(sockets), Path(locks))

    def test_sessions_started_at_once_each_own_their_display(self):
        """Four labs start their Xvfb in the same instant: four numbers, each lock file naming its own server."""
        labs = [lab.Lab(nets=1) for _ in range(4)]
        servers, errors, start = [], [], threading.Barrier(len(labs))

        def claim(the_lab):
            start.wait()
            try:
                servers.append(guilab.Xvfb(the_lab))
            except Exception as error:  # reported below, after every lab is gone
                errors.append(error)
        try:
            threads = [threading.Thread(target=claim, args=(the_lab,)) for the_lab in labs]
            for thread in threads:
                thread.start()
            for thread in threads:
                thread.join()
            self.assertEqual(errors, [])
            self.assertEqual(len({server.number for server in servers}), len(labs))
            for server in servers:
                self.assertEqual(guilab.lock_holder(server.number), server._proc.pid)
        finally:
            for server in servers:
                server.close()
            for the_lab in labs:
                the_lab.close()


class RunDriver(unittest.TestCase):
    """tools/run_lab_gui.py with the probe in place of the console, on its own Xvfb."""

    DRIVER = REPO / "tools" / "run_lab_gui.py"

    def setUp(self):
        require_built()
        self.tmp = tempfile.TemporaryDirectory(prefix="quorvel-run-")
        self.addCleanup(self.tmp.cleanup)
        self.shot = Path(self.tmp.name) / "run.png"
        env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
        build = os.environ.get("QUORVEL_BUILD", str(REPO / "build"))
        self.proc = subprocess.Popen(
            [sys.executable, self.DRIVER, "--exe", PROBE_EXE, "--title", TITLE, "--build", build,
             "--win-build", guilab.WIN_BUILD, "--screenshot", self.shot],
            env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        self.addCleanup(self.stop_driver)
        self.lines = []
        self.seen = threading.Condition()
        self.pumped = threading.Thread(target=self.pump, daemon=True)
        self.pumped.start()

    def pump(self):
        for line in self.proc.stdout:
            with self.seen:
                self.lines.append(line.rstrip("\n"))
                self.seen.notify_all()
        with self.seen:
            self.lines.append(None)  # end of output
            self.seen.notify_all()

    def wait_line(self, pattern, timeout=180):
        with self.seen:
            found = self.seen.wait_for(
                lambda: any(l is None or re.match(pattern, l) for l in self.lines), timeout)
            match = next((re.match(pattern, l) for l in self.lines if l is not None and re.match(pattern, l)), None)
        if not found or match is None:
            self.fail(f"driver never printed /{pattern}/; it printed:\n" + "\n".join(filter(None, self.lines)))
        return match

    def stop_driver(self):
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGINT)
            try:
                self.proc.wait(timeout=60)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.pumped.join(timeout=10)
        self.proc.stdout.close()

    def started(self):
        namespace = self.wait_line(r"lab: (\S+)").group(1)
        display = self.wait_line(r"display: (:\d+)").group(1)
        self.wait_line(r"screenshot: ")
        self.assertTrue(self.shot.is_file())
        return namespace, display

    def test_runs_until_the_window_closes(self):
        namespace, display = self.started()
        # No window manager: keys go to the window under the pointer, which Wine names by its title.
        subprocess.run(["xdotool", "search", "--name", f"^{TITLE}$", "mousemove", "--window", "%1", "5", "5",
                        "key", "Escape"], env=dict(os.environ, DISPLAY=display), check=True, capture_output=True)
        self.assertEqual(self.proc.wait(timeout=120), IDCANCEL)
        self.wait_line(r"window closed")
        self.assertFalse(Path(lab.NETNS_DIR, namespace).exists())
        self.assertFalse(guilab.display_in_use(int(display[1:])))

    def test_ctrl_c_cleans_up(self):
        namespace, display = self.started()
        self.proc.send_signal(signal.SIGINT)
        self.assertNotEqual(self.proc.wait(timeout=120), 0)
        self.assertFalse(Path(lab.NETNS_DIR, namespace).exists())
        self.assertFalse(guilab.display_in_use(int(display[1:])))


if __name__ == "__main__":
    unittest.main()
