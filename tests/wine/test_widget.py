"""The hidden Widget button under Wine, its command posted to the main window with a box selected: the
address file in the prefix's C: holds the box's address, the engine notice shows its texts, Next leads to
the model chooser (a listed box's model has no widget of its own), and the chosen model's widget file is
handed to the shell, which finds no such file: "Execute widget file error!". Download instead has the shell
open the engine's download page (recorded by a stand-in browser of ours) and opens no widget file."""
import stat
import unittest

from console_driver import TITLE, ConsoleCase, wait_until
from labtest import box, lab, lab_port

WIDGET = 1032
DOWNLOAD, NEXT = 1, 2  # the notice's OK and Cancel
OK = 1
VRX511, VRX513, VRX533 = 1029, 1030, 1031
NOTICE = {"with_control": NEXT}  # the notice and the chooser have empty titles
CHOOSER = {"with_control": VRX511}

BOX = box(41, "widgets", model="VRX-530L", password="pw", ports=[lab_port(0, 10)], shares=["Volume1"])
ADDRESS = lab.net_address(0, 10)

NOTICE_TEXTS = [
    "You need to first download and install YAHOO! Widgets Engine.",
    'If you wish to download and install YAHOO! Widgets Engine, please click on the "Download" button.',
    'If you have already installed YAHOO! Widgets Engine, please click on the "Next" button to',
    "proceed to the next step.",
]
DOWNLOAD_PAGE = "http://widgets.example.com/download/"


class WidgetInstall(ConsoleCase):
    NETS = 1
    BOXES = {0: [BOX]}
    SESSION = "widget"

    @classmethod
    def prepare(cls, gui):
        """Whatever the shell hands to a browser goes to a Unix script of ours that records it, so nothing
        outside the test starts."""
        cls.address_file = gui.prefix.drive_c / "ip.txt"
        cls.shell_record = gui.prefix.drive_c / "shell-browser.log"
        script = gui.prefix.drive_c / "shell-browser.sh"
        script.write_text(f'#!/bin/sh\nprintf "%s\\n" "$*" >> "{cls.shell_record}"\n')
        script.chmod(script.stat().st_mode | stat.S_IXUSR)
        gui.reg_add(r"HKCU\Software\Wine\WineBrowser", "Browsers", str(script))

    def shell_opened(self):
        return self.shell_record.read_text(encoding="utf-8").splitlines() if self.shell_record.exists() else []

    def open_notice(self):
        """Selects the box, removes any earlier address file and posts the Widget command; returns the
        notice's texts once it is there."""
        self.select_box(0, "widgets", "pw", ["Volume1"])
        self.address_file.unlink(missing_ok=True)
        self.gui.command(TITLE, WIDGET)
        notice = self.gui.inspect("", timeout=60, **NOTICE)
        return [c["text"] for c in notice["controls"] if c["class"] == "Static"]

    def test_1_next_and_a_chosen_model_open_its_widget_file_which_is_missing(self):
        self.assertEqual(self.open_notice(), NOTICE_TEXTS)
        self.assertEqual(self.address_file.read_bytes(), ADDRESS.encode())
        self.gui.screenshot("engine-notice")
        self.gui.click_control("", NEXT, **NOTICE)

        chooser = self.gui.inspect("", timeout=60, **CHOOSER)
        radios = [c for c in chooser["controls"] if c["id"] in (VRX511, VRX513, VRX533)]
        self.assertEqual([(r["text"], r["checked"]) for r in radios], [("VRX-511", 0), ("VRX-513", 0), ("VRX-533", 0)])
        self.gui.screenshot("model-chooser")
        self.gui.click_control("", VRX513, **CHOOSER)
        wait_until(lambda: self.gui.control("", VRX513, **CHOOSER)["checked"] == 1, 30, "VRX-513 chosen")
        self.gui.click_control("", OK, **CHOOSER)

        self.assertEqual(self.answer_message("Warning", shot="widget-file-missing"), ["Execute widget file error!"])
        self.assertEqual(self.address_file.read_bytes(), ADDRESS.encode())  # stays after the failed open
        self.assertEqual(self.shell_opened(), [])

    def test_2_download_opens_the_download_page_and_no_widget_file(self):
        self.assertEqual(self.open_notice(), NOTICE_TEXTS)
        self.gui.click_control("", DOWNLOAD, **NOTICE)
        opened = wait_until(self.shell_opened, 90, "the shell to open the download page")
        self.assertEqual(opened, [DOWNLOAD_PAGE])
        self.gui.wait_window_gone("", timeout=30, **NOTICE)
        self.assertEqual(self.message_boxes(), [])
        self.assertEqual(self.address_file.read_bytes(), ADDRESS.encode())


if __name__ == "__main__":
    unittest.main()
