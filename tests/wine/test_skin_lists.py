"""The painted lists of quorvel.exe under Wine: the selected row in grey, the bitmap scroll bars beside the
share list (thumb, a line per arrow click, lines while an arrow is held, a page per track click, a dragged
thumb) and the lighter bar of a list that cannot scroll. Judged by screen pixels against the bitmaps the program is built with; the
screenshots stay as artefacts."""
import unittest

from console_driver import DEVICE_LIST, MAIN, SHARE_LIST, TITLE, ConsoleCase, find_control, wait_until
from guilab import bitmap
from labtest import box, port

BAR_ID = 0xFFFF
SELECTED_GROUND = (190, 190, 190)
WHITE = (255, 255, 255)

FEW = box(1, "few", password="pw1", ports=[port("192.0.2.10")], shares=["Volume1", "Daten"])
MANY_SHARES = [f"Share{n:02d}" for n in range(1, 41)]
MANY = box(2, "many", password="pw2", ports=[port("192.0.2.20")], shares=MANY_SHARES)


def column(picture, x):
    return [row[x] for row in picture]


def find_run(values, run):
    """Where `run` first appears in `values`, or None."""
    for start in range(len(values) - len(run) + 1):
        if values[start:start + len(run)] == run:
            return start
    return None


class PaintedLists(ConsoleCase):
    NETS = 1
    BOXES = {0: [FEW, MANY]}
    SESSION = "skin-lists"

    def bars_of(self, window, list_id):
        """The vertical and the horizontal bar of a list: the id-0xFFFF statics at its right and below it."""
        rect = find_control(window, list_id)["rect"]
        bars = [c for c in window["controls"] if c["id"] == BAR_ID and c["class"] == "Static" and c["visible"]]
        vertical = [b for b in bars if b["rect"]["left"] == rect["right"] and b["rect"]["top"] == rect["top"]]
        horizontal = [b for b in bars if b["rect"]["top"] == rect["bottom"] and b["rect"]["left"] == rect["left"]]
        self.assertEqual((len(vertical), len(horizontal)), (1, 1), f"the bars of list {list_id}")
        return vertical[0]["rect"], horizontal[0]["rect"]

    def bar_column(self, bar, x, name):
        """The screen colours down column x of a vertical bar."""
        points = [(bar["left"] + x, y) for y in range(bar["top"], bar["bottom"])]
        return self.gui.pixels(points, name)

    def top_index(self):
        return find_control(self.main(), SHARE_LIST)["topIndex"]

    def wait_top_index(self, value, what):
        seen = []
        try:
            return wait_until(lambda: seen.append(self.top_index()) or seen[-1] == value, 30, what)
        except AssertionError as error:
            raise AssertionError(f"{error}: top row {seen[-1]}, not {value}") from None

    def thumb_top(self, bar, name):
        """The screen row where the thumb picture starts in the share list's vertical bar (None: no thumb)."""
        start = find_run(self.bar_column(bar, 7, name), column(bitmap(236), 7))
        return None if start is None else bar["top"] + start

    def test_1_selected_row_is_grey_with_black_text(self):
        window = self.select_box(0, "few", "pw1", ["Volume1", "Daten"])
        devices = find_control(window, DEVICE_LIST)
        selected = self.row_of(DEVICE_LIST, "few")
        self.assertEqual(devices["selected"], [selected])  # the state is back after the drawing
        rect = devices["rowRects"][selected]
        other = devices["rowRects"][1 - selected]
        middle = (rect["top"] + rect["bottom"]) // 2
        line = [(x, middle) for x in range(rect["left"] + 1, min(rect["right"], devices["rect"]["right"]) - 4)]
        colours = self.gui.pixels(line + [(other["left"] + 3, (other["top"] + other["bottom"]) // 2)],
                                  "selected-row")
        row, unselected = colours[:-1], colours[-1]
        self.assertGreater(row.count(SELECTED_GROUND), len(row) // 2, "grey 190 ground")
        self.assertIn((0, 0, 0), row, "black text")
        self.assertEqual([c for c in row if not c[0] == c[1] == c[2]], [], "grey shades only: no system highlight")
        self.assertEqual(unselected, WHITE)

    def share_list_at_top(self):
        """Selects the box with 40 shares and scrolls its list to the top; the list's vertical bar."""
        window = self.select_box(0, "many", "pw2", MANY_SHARES)
        vertical, _ = self.bars_of(window, SHARE_LIST)
        self.gui.click_row(TITLE, SHARE_LIST, self.top_index(), **MAIN)
        self.gui.key("Home")
        self.wait_top_index(0, "the list at its top")
        return vertical

    def test_2_long_list_has_a_thumb_that_arrows_and_track_move(self):
        vertical = self.share_list_at_top()
        self.assertEqual(vertical["right"] - vertical["left"], 14)
        first = self.thumb_top(vertical, "thumb-top")
        self.assertEqual(first, vertical["top"] + 16, "the thumb at its first place, under the up arrow")
        x = vertical["left"] + 7
        self.gui.click(x, vertical["bottom"] - 20)  # the down arrow's hit rectangle
        self.wait_top_index(1, "one line down")
        self.gui.click(x, first + 4 + 26 + 1)  # the track just below the thumb (drawn 4 above its place)
        wait_until(lambda: (top := self.top_index()) > 2 and top, 30, "a page down")
        self.assertGreater(self.thumb_top(vertical, "thumb-paged"), first)
        # Above the thumb, the up arrow's release rectangle reaches from 11 to 26: a release above it pages.
        self.gui.click(x, vertical["top"] + 5)
        self.wait_top_index(1, "a page up")
        self.gui.click(x, vertical["top"] + 13)  # the up arrow's hit rectangle
        self.wait_top_index(0, "one line up")

    def test_3_dragged_thumb_goes_to_the_end_and_the_list_to_its_last_rows(self):
        vertical = self.share_list_at_top()
        x = vertical["left"] + 7
        grab = vertical["top"] + 20 + 5  # on the thumb (at 20 from the bar's top)
        self.gui.xdotool("mousemove", "--sync", x, grab, "mousedown", 1)
        for y in range(grab + 10, vertical["bottom"] + 30, 10):
            self.gui.xdotool("mousemove", "--sync", x, y)
        self.gui.xdotool("mouseup", 1)
        last = len(MANY_SHARES) - 1
        wait_until(lambda: (c := find_control(self.main(), SHARE_LIST))["topIndex"] > 20
                   and c["rowRects"][last]["bottom"] <= c["rect"]["bottom"], 30, "the last rows shown after the drag")
        at_end = self.top_index()
        height = vertical["bottom"] - vertical["top"]
        self.assertEqual(self.thumb_top(vertical, "thumb-dragged"), vertical["top"] + height - 42,
                         "the thumb at its last place, on the down arrow")
        self.gui.click(x, vertical["bottom"] - 20)  # the down arrow: nothing left to scroll
        self.assertEqual(self.thumb_top(vertical, "thumb-at-end"), vertical["top"] + height - 42)
        self.assertEqual(self.top_index(), at_end)

    def test_4_held_arrow_repeats_until_let_go(self):
        vertical = self.share_list_at_top()
        x = vertical["left"] + 7
        self.gui.xdotool("mousemove", "--sync", x, vertical["bottom"] - 20, "mousedown", 1)
        try:
            wait_until(lambda: self.top_index() >= 5, 30, "lines scrolled while the down arrow is held")
        finally:
            self.gui.xdotool("mouseup", 1)
        self.gui.screenshot("arrow-let-go")  # settles once the list stands still (with the line of the release)
        let_go = self.top_index()
        self.gui.screenshot("arrow-still")
        self.assertEqual(self.top_index(), let_go, "no more lines once the arrow is let go")

    def test_5_list_that_cannot_scroll_shows_the_lighter_bar(self):
        window = self.main()
        vertical, horizontal = self.bars_of(window, DEVICE_LIST)
        colours = self.bar_column(vertical, 7, "lighter-bar")
        self.assertEqual(colours[:16], column(bitmap(383), 7), "the lighter up arrow")
        self.assertEqual(colours[-16:], column(bitmap(385), 7), "the lighter down arrow")
        self.assertEqual(set(colours[16:-16]), {bitmap(384)[0][7]}, "the lighter track and no thumb")
        self.assertIsNone(find_run(colours, column(bitmap(236), 7)))
        self.assertEqual(horizontal["bottom"] - horizontal["top"], 14)


if __name__ == "__main__":
    unittest.main()
