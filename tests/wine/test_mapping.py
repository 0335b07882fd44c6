"""Mapping a box's volume to a drive letter and removing it, in quorvel.exe under Wine.

As Wine comes, it has no network provider: every connection fails (ERROR_NO_NETWORK), so Connect ends in
"Failed to map drive." and Disconnect of a letter in "Unable to disconnect this drive.". With our test
provider installed in the prefix (testnet.py) the whole round trip runs: the volume and its companion are
mapped, the drive-letter box and the share list show them, Disconnect removes both; a letter in use asks
first; and a failing mapping leaves the chosen letter without its earlier connection. The provider's record
says which calls the program made, with which credentials and flags.

With a Japanese ANSI code page (932, Wine started under the Unix locale ja_JP.UTF-8) a box's volumes "表示"
(95 5C 8E A6 in CP932: its second byte is a backslash) and "Backup..2024" are mapped by their exact names,
shown in the share list and the drive-letter box as CP932 texts (the inspector reads them in the program's
code page), and found again by Disconnect. "Yen¥", which CP932 carries only as the look-alike backslash, shows
as "Yen?" and is mapped by its exact name all the same.

A volume of 81 CJK characters (243 bytes in UTF-8) is mapped and disconnected with its companion, whose name
takes 257 bytes in the program's drive map. Wine keeps a share's folder name in the Unix locale's character
set, and no Unix file name holds 257 bytes, so that session runs under ja_JP.EUC-JP (176 bytes on disk)."""
import fcntl
import subprocess
import unittest

from console_driver import (CONNECT, DISCONNECT, DRIVE_LETTERS, MAIN, SHARE_LIST, TITLE, ConsoleCase,
                            find_control, wait_until)
from labtest import box, lab, lab_port
import testnet

HOST = lab.net_address(0, 10)
VOLUME = rf"\\{HOST}\Volume1"
COMPANION = rf"\\{HOST}\Recycle Bin - Volume1"
EARLIER = rf"\\{HOST}\Old"
STORE = box(41, "store", password="pw", ports=[lab_port(0, 10)],
            shares=["Volume1", "Recycle Bin - Volume1", "Daten", "Recycle Bin - Daten"])

MAPPED = ["Successfully mapped drive."]
UNMAPPED = ["Successfully unmapped drive."]
MAP_FAILED = ["Failed to map drive."]
UNABLE = "Unable to disconnect this drive.\nPlease select a drive to disconnect and verify that the drive is " \
         "not being accessed."
LETTER_IN_USE = ["The drive letter has been used.", "Do you still want to use this drive letter?"]
MOUNT_MESSAGE = {"cls": "#32770", "with_control": 2}  # the drive-letter-in-use dialog has no caption
NOT_CONNECTED = 2250  # ERROR_NOT_CONNECTED, the provider's answer for a letter it has no connection of
BAD_NET_NAME = 67     # ERROR_BAD_NET_NAME, its answer for a share that is not there


def companion_letter_of(letter):
    """Connect maps a volume's companion to the letter before the volume's."""
    return chr(ord(letter[0]) - 1) + ":"


def one_text(texts):
    return "\n".join(texts).replace("\r\n", "\n")


class MappingCase(ConsoleCase):
    NETS = 1
    BOXES = {0: [STORE]}
    SESSION = "mapping"

    def letters(self):
        combo = find_control(self.main(), DRIVE_LETTERS)
        return combo["items"], combo["curSel"]

    def select_store(self):
        return self.select_box(0, "store", "pw", ["Volume1", "Daten"])

    def click(self, control_id):
        self.gui.click_control(TITLE, control_id, **MAIN)

    def disconnect(self, share, shot):
        """Disconnect on the share's row, answered; the provider's calls that it made."""
        self.click_share(share)
        before = len(self.net.calls())
        self.click(DISCONNECT)
        self.assertEqual(self.answer_message("Confirm", shot=shot), UNMAPPED)
        return self.net.calls()[before:]


class WineWithoutNetworkProvider(MappingCase):
    SESSION = "mapping-no-provider"

    def test_1_disconnect_of_a_free_letter_without_a_volume_is_an_error(self):
        window = self.select_store()
        self.assertEqual(find_control(window, SHARE_LIST)["selected"], [])
        items, chosen = self.letters()
        self.assertGreaterEqual(chosen, 0)
        self.assertNotIn(": ", items[chosen])  # a free letter: no mapping shown beside it
        self.click(DISCONNECT)
        self.assertEqual(one_text(self.answer_message("Error", shot="unable-to-disconnect")), UNABLE)
        self.assertEqual(self.letters(), (items, chosen))

    def test_2_connect_fails_with_the_error_message_and_changes_nothing(self):
        self.select_store()
        self.click_share("Volume1")
        items, chosen = self.letters()
        rows = self.rows(SHARE_LIST)
        self.click(CONNECT)
        self.assertEqual(self.answer_message("Error", shot="failed-to-map"), MAP_FAILED)
        self.assertEqual(self.letters(), (items, chosen))
        self.assertEqual(self.rows(SHARE_LIST), rows)
        self.assertEqual(self.message_boxes(), [])


class WineWithTestNetwork(MappingCase):
    SESSION = "mapping-test-network"

    @classmethod
    def prepare(cls, gui):
        """The provider, the store's shares but Daten, and an earlier connection of V: that the program
        finds at start-up."""
        cls.net = testnet.TestNetwork(gui)
        for share in ("Volume1", "Recycle Bin - Volume1", "Old"):
            cls.net.share(HOST, share)
        if cls.net.use("V:", EARLIER) != 0:
            raise RuntimeError(f"the earlier connection of V: failed: {cls.net.calls()}")

    def new_calls(self, before):
        return self.net.calls()[before:]

    def test_1_the_earlier_connection_shows_in_the_drive_letter_box(self):
        items, chosen = self.letters()
        self.assertIn(f"V: {EARLIER}", items)
        self.assertEqual(items[chosen], "Y:")  # Z: is Wine's drive for the Unix root: not offered

    def test_2_connect_maps_the_volume_and_its_companion_to_the_next_free_letter(self):
        self.select_store()
        self.click_share("Volume1")
        self.assertEqual(self.letters()[0][self.letters()[1]], "Y:")
        before = len(self.net.calls())
        self.click(CONNECT)
        self.assertEqual(self.answer_message("Confirm", shot="mapped"), MAPPED)
        self.assertEqual(self.new_calls(before), [
            f"cancel Y: force=1 -> {NOT_CONNECTED}",
            f'add3 Y: {VOLUME} user="" password="" flags=1 -> 0',
            f"add3 X: {COMPANION} user=- password=- flags=1 -> 0",
        ])
        items, chosen = wait_until(lambda: (s := self.letters()) and f"Y: {VOLUME}" in s[0] and s, 30,
                                   "the drive-letter box to show the mapping")
        self.assertIn(f"X: {COMPANION}", items)
        self.assertEqual(items[chosen], "W:")  # the first free letter is chosen afresh
        self.assertEqual(self.rows(SHARE_LIST), [["Volume1", "Y:"], ["Daten", ""]])
        self.assertEqual((self.net.show("Y:"), self.net.show("X:")), (VOLUME, COMPANION))
        self.assertEqual((self.net.remembered("Y:"), self.net.remembered("X:")), (VOLUME, COMPANION))

    def test_3_disconnect_removes_the_volume_and_its_companion(self):
        self.click_share("Volume1")
        before = len(self.net.calls())
        self.click(DISCONNECT)
        self.assertEqual(self.answer_message("Confirm", shot="unmapped"), UNMAPPED)
        self.assertEqual(self.new_calls(before), ["cancel Y: force=1 -> 0", "cancel X: force=1 -> 0"])
        items, chosen = wait_until(lambda: (s := self.letters()) and "Y:" in s[0] and s, 30,
                                   "the drive-letter box to show Y: free again")
        self.assertIn("X:", items)
        self.assertEqual(items[chosen], "Y:")
        self.assertEqual(self.rows(SHARE_LIST), [["Volume1", ""], ["Daten", ""]])
        self.assertEqual((self.net.show("Y:"), self.net.show("X:")), (None, None))
        self.assertEqual((self.net.remembered("Y:"), self.net.remembered("X:")), (None, None))

    def test_4_a_letter_in_use_asks_first_and_cancel_changes_nothing(self):
        self.click_share("Volume1")
        self.choose_item(DRIVE_LETTERS, f"V: {EARLIER}")
        before = len(self.net.calls())
        self.click(CONNECT)
        dialog = self.gui.inspect("", timeout=60, **MOUNT_MESSAGE)
        self.assertEqual([c["text"] for c in dialog["controls"] if c["class"] == "Static" and c["text"]],
                         LETTER_IN_USE)
        self.gui.screenshot("letter-in-use")
        self.gui.click_control("", 2, **MOUNT_MESSAGE)
        self.gui.wait_window_gone("", timeout=30, **MOUNT_MESSAGE)
        self.assertEqual(self.message_boxes(), [])
        self.assertEqual(self.new_calls(before), [])
        self.assertEqual(self.net.show("V:"), EARLIER)

    def test_5_a_failing_mapping_leaves_the_chosen_letter_without_its_earlier_connection(self):
        self.click_share("Daten")  # its share is not there: the provider refuses it
        self.choose_item(DRIVE_LETTERS, f"V: {EARLIER}")
        before = len(self.net.calls())
        self.click(CONNECT)
        self.gui.inspect("", timeout=60, **MOUNT_MESSAGE)
        self.gui.click_control("", 1, **MOUNT_MESSAGE)
        self.assertEqual(self.answer_message("Error", shot="failed-earlier-removed"), MAP_FAILED)
        cancel, *adds = self.new_calls(before)
        self.assertEqual(cancel, "cancel V: force=1 -> 0")  # before any attempt
        self.assertTrue(adds)
        self.assertEqual(adds[0], rf'add3 V: \\{HOST}\Daten user="" password="" flags=1 -> {BAD_NET_NAME}')
        for call in adds:
            self.assertRegex(call, rf"^add3 V: \\\\{HOST}\\Daten .* -> {BAD_NET_NAME}$")
        self.assertEqual((self.net.show("V:"), self.net.remembered("V:")), (None, None))
        self.assertIn(f"V: {EARLIER}", self.letters()[0])  # not rescanned after a failure


JAPANESE = "ja_JP.UTF-8"
HYOUJI = "表示"
BACKUP = "Backup..2024"
YEN = "Yen\u00a5"
SHOWN = {HYOUJI: HYOUJI, BACKUP: BACKUP, YEN: "Yen?"}  # each volume's name as the lists show it
TOKYO = box(43, "tokyo", password="pw", ports=[lab_port(0, 10)],
            shares=[name for volume in SHOWN for name in (volume, f"Recycle Bin - {volume}")])


def unc(share):
    return rf"\\{HOST}\{share}"


def ensure_locale(name):
    """Generates the Unix locale when the system does not have it yet (Wine takes its code page from it).
    Under a lock shared by every run on the machine: two runs that both find it missing would both add it to
    the one locale archive, and the second localedef fails."""
    with open("/tmp/quorvel-locale.lock", "a") as lock:
        fcntl.lockf(lock, fcntl.LOCK_EX)
        have = subprocess.run(["locale", "-a"], capture_output=True, text=True, check=True).stdout.split()
        if name.lower().replace("-", "") not in [each.lower().replace("-", "") for each in have]:
            language, charset = name.split(".")
            subprocess.run(["localedef", "-i", language, "-f", charset, name], check=True, capture_output=True)


class LocaleMappingCase(MappingCase):
    """A session under the Unix locale LOCALE, with the box's SHARES made in the locale's ENCODING."""
    ENCODING = "utf-8"

    @classmethod
    def setUpClass(cls):
        ensure_locale(cls.LOCALE)
        super().setUpClass()

    @classmethod
    def prepare(cls, gui):
        cls.net = testnet.TestNetwork(gui)
        for share in cls.BOXES[0][0]["shares"]:
            cls.net.share(HOST, share, encoding=cls.ENCODING)


class WineWithJapaneseCodePage(LocaleMappingCase):
    SESSION = "mapping-japanese"
    BOXES = {0: [TOKYO]}
    LOCALE = JAPANESE

    def select_tokyo(self):
        return self.select_box(0, "tokyo", "pw", list(SHOWN.values()))

    def test_1_the_code_page_is_932_and_the_share_list_shows_the_names(self):
        self.assertEqual(self.gui.reg_query(r"HKLM\System\CurrentControlSet\Control\Nls\CodePage", "ACP"), "932")
        window = self.select_tokyo()
        self.assertEqual(find_control(window, SHARE_LIST)["rows"], [[shown, ""] for shown in SHOWN.values()])
        self.gui.screenshot("japanese-share-list")

    def test_2_connect_maps_each_volume_to_its_exact_unc_path(self):
        self.select_tokyo()
        for row, (volume, shown) in enumerate(SHOWN.items()):
            with self.subTest(volume=volume):
                self.click_share(shown)
                items, chosen = self.letters()
                letter = items[chosen]
                companion_letter = companion_letter_of(letter)
                before = len(self.net.calls())
                self.click(CONNECT)
                self.assertEqual(self.answer_message("Confirm", shot=f"japanese-mapped-{row}"), MAPPED)
                self.assertEqual(self.net.calls()[before:], [
                    f"cancel {letter} force=1 -> {NOT_CONNECTED}",
                    f'add3 {letter} {unc(volume)} user="" password="" flags=1 -> 0',
                    f"add3 {companion_letter} {unc('Recycle Bin - ' + volume)} user=- password=- flags=1 -> 0",
                ])
                self.assertEqual(self.net.show(letter), unc(volume))
                wait_until(lambda: f"{letter} {unc(shown)}" in self.letters()[0], 30,
                           f"the drive-letter box to show {letter} mapped")
                self.assertEqual(self.rows(SHARE_LIST)[row], [shown, letter])

    def test_3_disconnect_finds_the_mapping_and_its_companion_by_name(self):
        rows = self.rows(SHARE_LIST)
        self.assertEqual([name for name, _ in rows], list(SHOWN.values()))
        letter = rows[0][1]
        companion_letter = companion_letter_of(letter)
        self.assertEqual(self.disconnect(HYOUJI, "japanese-unmapped"),
                         [f"cancel {letter} force=1 -> 0", f"cancel {companion_letter} force=1 -> 0"])
        wait_until(lambda: self.rows(SHARE_LIST)[0] == [HYOUJI, ""], 30, f"{HYOUJI} shown without a letter")
        self.assertEqual(self.rows(SHARE_LIST)[1:], rows[1:])


EUC_JP = "ja_JP.EUC-JP"
LONG = "名" * 81
LONG_COMPANION = f"Recycle Bin - {LONG}"
AKITA = box(44, "akita", password="pw", ports=[lab_port(0, 10)], shares=[LONG, LONG_COMPANION])


class WineWithAVolumeOf81Characters(LocaleMappingCase):
    SESSION = "mapping-long"
    BOXES = {0: [AKITA]}
    LOCALE = EUC_JP
    ENCODING = "euc-jp"

    def test_connect_and_disconnect_take_the_volume_and_its_companion_whole(self):
        self.select_box(0, "akita", "pw", [LONG])
        self.click_share(LONG)
        items, chosen = self.letters()
        letter = items[chosen]
        companion_letter = companion_letter_of(letter)
        self.click(CONNECT)
        self.assertEqual(self.answer_message("Confirm", shot="long-mapped"), MAPPED)
        self.assertEqual((self.net.show(letter), self.net.show(companion_letter)), (unc(LONG), unc(LONG_COMPANION)))
        wait_until(lambda: self.rows(SHARE_LIST) == [[LONG, letter]], 30, f"{letter} shown beside the volume")
        self.assertEqual(self.disconnect(LONG, "long-unmapped"),
                         [f"cancel {letter} force=1 -> 0", f"cancel {companion_letter} force=1 -> 0"])
        self.assertEqual((self.net.show(letter), self.net.show(companion_letter)), (None, None))


if __name__ == "__main__":
    unittest.main()
