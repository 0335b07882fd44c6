"""The Configuration button under Wine: the box's web server is checked first (the simulator's log shows
the connection), then the browser registered as the default Start-menu Internet client is started with
http:// and the box's address; a box whose web server does not answer is reported and a new search
follows. The browser is our stand-in, which records its command line in the prefix."""
import shutil
import stat
import unittest
import urllib.parse

from console_driver import CONFIGURATION, DEVICE_LIST, MAIN, TITLE, ConsoleCase, guilab, wait_until
from labtest import box, lab, lab_port

BROWSER_EXE = guilab.WIN_BUILD / "tests" / "wine" / "web_browser" / "quorvel-test-browser.exe"
CLIENTS = r"HKLM\Software\Clients\StartMenuInternet"
CLIENT = "QuorvelTestBrowser"
# The browser's registered command: our stand-in, told where to record (both in the prefix's C:).
BROWSER_COMMAND = r"C:\qvbrowser.exe C:\qvbrowser.log"

SITE = box(31, "site", model="VRX-530L", password="pw", ports=[lab_port(0, 10)], shares=["Volume1"])
SITE_AT, PC_AT = lab.net_address(0, 10), lab.net_address(0, 1)
QUIET = box(32, "quiet", password="pw", ports=[lab_port(0, 11)], shares=["Quiet1"], faults={"noWeb": True})
VANISHING = box(33, "vanishing", password="pw", ports=[lab_port(0, 12)], shares=["Gone1"])

GONE_MESSAGE = ["Device is no longer available."]


class WebConfiguration(ConsoleCase):
    NETS = 1
    BOXES = {0: [SITE, QUIET]}
    SESSION = "web-config"
    BUILT = (BROWSER_EXE,)

    @classmethod
    def prepare(cls, gui):
        """A third box on its own simulator (stopped later), and our stand-in as the default client; for
        anything opened through the shell, a Unix script of ours is the only browser Wine may hand the
        address to, so nothing outside the test starts."""
        cls.start_sim(0, [VANISHING], name="vanishing")
        drive_c = gui.prefix.drive_c
        shutil.copy(BROWSER_EXE, drive_c / "qvbrowser.exe")
        cls.browser_record = drive_c / "qvbrowser.log"
        cls.shell_record = drive_c / "shell-browser.log"
        script = drive_c / "shell-browser.sh"
        script.write_text(f'#!/bin/sh\nprintf "%s\\n" "$*" >> "{cls.shell_record}"\n')
        script.chmod(script.stat().st_mode | stat.S_IXUSR)
        gui.reg_add(CLIENTS, None, CLIENT)
        gui.reg_add(rf"{CLIENTS}\{CLIENT}\shell\open\command", None, BROWSER_COMMAND)
        gui.reg_add(r"HKCU\Software\Wine\WineBrowser", "Browsers", str(script))

    def recorded(self, path):
        return path.read_text(encoding="utf-8").splitlines() if path.exists() else []

    def connections_to(self, name):
        """The web server's accepted connections for a box of net 0's main simulator."""
        return self.web_requests(0, "connect", box=name)

    def configure_unreachable(self):
        """Clicks Configuration for a box that will not answer; returns the warning's texts and how many
        searches net 0's main simulator had seen while it was up."""
        self.gui.click_control(TITLE, CONFIGURATION, **MAIN)
        texts = self.message_texts("Warning")
        searches_while_warning = len(self.requests(0, 101))
        self.gui.screenshot("device-gone")
        self.press_ok("Warning")
        return texts, searches_while_warning

    def test_1_configuration_checks_the_web_server_then_starts_the_registered_browser(self):
        self.select_box(0, "site", "pw", ["Volume1"])
        checks_before = len(self.connections_to("site"))
        self.gui.click_control(TITLE, CONFIGURATION, **MAIN)
        started = wait_until(lambda: self.recorded(self.browser_record), 60, "the browser to start")
        checks = self.connections_to("site")[checks_before:]  # read once the browser is known to have started
        self.assertEqual(started, [rf"{BROWSER_COMMAND} http://{SITE_AT}"])
        self.assertGreaterEqual(len(checks), 1, "no connection to the web server before the browser started")
        self.assertEqual({(c["address"], c["from"]) for c in checks}, {(SITE_AT, PC_AT)})
        self.assertEqual(self.message_boxes(), [])
        self.assertEqual(self.recorded(self.shell_record), [])

    def open_through_the_shell(self, client):
        """With `client` as the default client name, Configuration for the selected box must end in the shell
        opening the box's address (explorer, then Wine's browser launcher, then our script), while the
        registered command is not started."""
        browser_before = self.recorded(self.browser_record)
        shell_before = len(self.recorded(self.shell_record))
        self.gui.reg_add(CLIENTS, None, client)
        try:
            self.gui.click_control(TITLE, CONFIGURATION, **MAIN)
            opened = wait_until(lambda: self.recorded(self.shell_record)[shell_before:], 90,
                                "the shell to open the address")
        finally:
            self.gui.reg_add(CLIENTS, None, CLIENT)
        url = urllib.parse.urlsplit(opened[0])
        self.assertEqual((len(opened), url.scheme, url.netloc), (1, "http", SITE_AT), opened)
        self.assertIn(url.path, ("", "/"))  # Wine's launcher adds the slash of an empty path
        self.assertEqual(self.recorded(self.browser_record), browser_before)
        self.assertEqual(self.message_boxes(), [])

    def test_2_a_client_name_with_IE_opens_the_address_through_explorer(self):
        self.select_box(0, "site", "pw", ["Volume1"])
        self.open_through_the_shell("IEXPLORE.EXE")

    def test_3_a_client_without_a_command_falls_back_to_explorer(self):
        self.select_box(0, "site", "pw", ["Volume1"])
        self.open_through_the_shell("NoSuchClient")

    def test_4_a_box_without_web_server_is_reported_and_a_new_search_follows(self):
        self.select_box(0, "quiet", "pw", ["Quiet1"])
        browser_before = self.recorded(self.browser_record)
        searches_before = len(self.requests(0, 101))
        texts, searches_while_warning = self.configure_unreachable()
        self.assertEqual(texts, GONE_MESSAGE)
        self.assertEqual(searches_while_warning, searches_before)  # the search comes after OK
        wait_until(lambda: len(self.requests(0, 101)) > searches_before, 60, "a new search")
        self.assertEqual(self.web_requests(0, "connect", box="quiet"), [])
        self.assertEqual(self.recorded(self.browser_record), browser_before)
        rows = wait_until(lambda: (r := self.rows(DEVICE_LIST)) and len(r) == 3 and r, 60, "the refreshed list")
        self.assertEqual(sorted(r[0] for r in rows), ["quiet", "site", "vanishing"])

    def test_5_a_box_whose_simulator_stopped_is_reported_and_leaves_the_list(self):
        self.select_box(0, "vanishing", "pw", ["Gone1"], log_name="vanishing")
        sim = self.sims["vanishing"]
        sim.terminate()
        self.assertEqual(sim.wait(timeout=30), 0)
        browser_before = self.recorded(self.browser_record)
        searches_before = len(self.requests(0, 101))
        texts, searches_while_warning = self.configure_unreachable()
        self.assertEqual(texts, GONE_MESSAGE)
        self.assertEqual(searches_while_warning, searches_before)
        wait_until(lambda: len(self.requests(0, 101)) > searches_before, 60, "a new search")
        rows = wait_until(lambda: (r := self.rows(DEVICE_LIST)) and len(r) == 2 and r, 60, "the list without it")
        self.assertEqual(sorted(r[0] for r in rows), ["quiet", "site"])
        self.assertEqual(self.recorded(self.browser_record), browser_before)


if __name__ == "__main__":
    unittest.main()
