"""quorvel.exe at 96, 120, 144, 168, 192 and 110 DPI under Wine (LogPixels in each run's own prefix, one start
per DPI, one Xvfb large enough for the 200 % window): the window and its controls are the 96-DPI rectangles
times the scale (within a pixel), list rows grow with it, and a window sent the change from 96 to 192 (moved
first near the screen's bottom-right corner, so that it must come back onto the screen) and from 120 to 144
looks pixel for pixel like the window started at 192 and at 144, and one changed from 192 to 96 like the window
started at 96. Where the tree has pictures per scale
(res/art/<percent>/), the faces match their scale's picture. Screenshots of each DPI are kept as artefacts."""
import subprocess
import sys
import time
import unittest

from console_driver import DEVICE_LIST, MAIN, REFRESH, TITLE, find_control, guilab, require_built, wait_until
from guilab import GuiSession, Xvfb
from labtest import LabCase, box

DPIS = (96, 120, 144, 168, 192, 110)
CHANGES = {96: 192, 120: 144, 192: 96}  # started at, changed to
SCREEN = (1400, 1200)
# Wine draws these parts itself at the prefix's DPI (its system metrics and system font stay those of the
# start), whatever the program asks: the combo boxes' drop-down buttons (as wide as a scroll bar) and the
# separator dots of the address editors (the editor paints them in the system font). Their rectangles are
# left out of the comparison of a window changed to a DPI with one started there.
COMBO_BUTTON_96 = 17
NUDGE_EXE = guilab.WIN_BUILD / "tests" / "wine" / "dpi_nudge" / "quorvel-dpi-nudge.exe"
SYS_COMMAND_EXE = guilab.WIN_BUILD / "tests" / "wine" / "sys_command" / "quorvel-sys-command.exe"
ART_SETS = (100, 125, 150, 175, 200)
BOXES = [box(1, "alpha"), box(2, "beta"), box(3, "gamma")]
REG = ('REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:{0:08x}\n\n[HKEY_LOCAL_MACHINE'
       '\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts]\n"LogPixels"=dword:{0:08x}\n')


def scaled(pixels, dpi):
    """96-DPI pixels at dpi, rounded as the program rounds (halves away from zero)."""
    return (1 if pixels >= 0 else -1) * ((abs(pixels) * dpi + 48) // 96)


def relative(rect, origin):
    return [rect["left"] - origin["left"], rect["top"] - origin["top"], rect["right"] - origin["left"],
            rect["bottom"] - origin["top"]]


def size(rect):
    return rect["right"] - rect["left"], rect["bottom"] - rect["top"]


def rgb(path, crop=None, resize=None, sample=None):
    """A picture's pixels as (r, g, b), cut to crop (rect), then scaled to resize (area average) or sample
    (nearest pixel, as a stretched blit), each (w, h)."""
    args = ["convert", str(path)]
    if crop:
        args += ["-crop", "{0}x{1}+{2}+{3}".format(*size(crop), crop["left"], crop["top"]), "+repage"]
    if resize or sample:
        args += ["-filter", "box", "-resize" if resize else "-sample", "{}x{}!".format(*(resize or sample))]
    data = subprocess.run([*args, "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
    return [tuple(data[i:i + 3]) for i in range(0, len(data), 3)]


def share_alike(a, b, tolerance=24):
    """The share of pixel pairs whose every channel differs by at most tolerance."""
    return sum(all(abs(x - y) <= tolerance for x, y in zip(p, q)) for p, q in zip(a, b)) / max(len(a), 1)


def corner(rect, width, height):
    return {"left": rect["left"], "top": rect["top"], "right": rect["left"] + width, "bottom": rect["top"] + height}


class LayoutAtEveryDpi(LabCase):
    NETS = 1
    BOXES = {0: BOXES}

    @classmethod
    def setUpClass(cls):
        require_built(NUDGE_EXE, SYS_COMMAND_EXE)
        super().setUpClass()
        cls.xvfb, cls.runs = None, {}
        try:
            cls.xvfb = Xvfb(cls.lab, screen="{}x{}x24".format(*SCREEN))  # the 200 % window is 862 x 1032
            for dpi in DPIS:
                cls.runs[dpi] = cls.run_at(dpi)
        except BaseException:
            cls.tearDownClass()
            raise

    @classmethod
    def tearDownClass(cls):
        if cls.xvfb is not None:
            cls.xvfb.close()
        super().tearDownClass()

    @classmethod
    def run_at(cls, dpi):
        """One start: the window as read, a screenshot, one with the pointer over Refresh; at 96 and 192 the
        accessible names; at 96, 120 and 192 also the window after a change (CHANGES)."""
        def prepare(gui):
            (gui.prefix.drive_c / "dpi.reg").write_text(REG.format(dpi))
            assert gui.run_wine("regedit", "/S", r"C:\dpi.reg")[0] == 0

        started = time.monotonic()
        with GuiSession(cls.lab, guilab.QUORVEL_EXE, name=f"dpi-{dpi}", display=cls.xvfb.display,
                        prepare=prepare) as gui:
            gui.wait_for_window(TITLE, timeout=120)
            window = wait_until(lambda: (w := gui.inspect(TITLE, timeout=30, **MAIN))
                                and len(find_control(w, DEVICE_LIST)["rows"]) == len(BOXES) and w, 60, "the rows")
            gui.idle(TITLE, **MAIN)  # rows show as the boxes answer: hover is judged once the search has ended
            gui.xdotool("mousemove", "--sync", 0, 0)
            run = {"window": window, "shot": gui.screenshot("window")}
            refresh = find_control(window, REFRESH)["rect"]
            gui.xdotool("mousemove", "--sync", refresh["left"] + 3, refresh["top"] + 3)
            run["hover"] = gui.screenshot("hover")
            if dpi in (96, 192):
                run["names"] = {c["id"]: c["accName"] for c in gui.inspect(TITLE, names=True, **MAIN)["controls"]
                                if not c["nested"]}
            if dpi in (96, 144):
                gui.command(TITLE, 1021)
                run["about"] = gui.inspect("About Quorvel", timeout=30)
                gui.key("Escape")
                gui.wait_window_gone("About Quorvel", timeout=30)
            if dpi == 144:  # a change to the DPI it has: laid out again, it must stay as it is
                code, _, err = gui.run_wine(NUDGE_EXE, TITLE, dpi, *size(window["rect"]))
                assert code == 0, f"the DPI change was not answered: {err.strip()}"
                run["again"] = gui.inspect(TITLE, timeout=30, **MAIN)
                cls.minimise_then_drag(gui, run)
            if dpi in CHANGES:
                to = CHANGES[dpi]
                linear = [v * to // dpi for v in size(window["rect"])]  # the system's linear suggestion
                # From 96 the window starts near the bottom-right corner: at 192 it reaches past the screen.
                place = [SCREEN[0] - size(window["rect"])[0] - 20, SCREEN[1] - size(window["rect"])[1] - 20]
                code, out, err = gui.run_wine(NUDGE_EXE, TITLE, to, *linear, *(place if dpi == 96 else []))
                assert code == 0, f"the DPI change was not answered: {err.strip()}"
                run["suggested"] = [int(v) for v in out.split()]
                gui.xdotool("mousemove", "--sync", 0, 0)  # the pointer off the window, as in the started shot
                run["changed"] = gui.inspect(TITLE, timeout=30, **MAIN)
                run["changed_shot"] = gui.screenshot(f"changed-to-{to}")
        print(f"{dpi} DPI: {time.monotonic() - started:.1f} s for the run", file=sys.stderr)
        return run

    @classmethod
    def minimise_then_drag(cls, gui, run):
        """At 144: minimised, given 192 and restored; then dragged past the screen's bottom-right corner while
        the scale goes back to 144 (the change inside the move loop)."""
        def act(*args):
            code, out, err = gui.run_wine(*args)
            assert code == 0, f"{args}: exit {code}: {out} {err.strip()}"
            return out

        before = gui.inspect(TITLE, timeout=30, **MAIN)["rect"]
        act(SYS_COMMAND_EXE, TITLE, "minimize")
        act(NUDGE_EXE, TITLE, 192, *[v * 192 // 144 for v in size(before)])
        act(SYS_COMMAND_EXE, TITLE, "restore")
        restored = gui.inspect(TITLE, timeout=30, **MAIN)["rect"]
        run["restored"] = before, restored
        place = [SCREEN[0] - 200, SCREEN[1] - 200]
        out = act(NUDGE_EXE, TITLE, 144, *[v * 144 // 192 for v in size(restored)], *place, "in-move")
        run["dragged"] = [[int(v) for v in line.split()] for line in out.splitlines()[:3]]

    def controls(self, window, nested=False):
        """The window's own controls, or the address editors' fields."""
        return [c for c in window["controls"] if c["nested"] == nested and (not nested or c["class"] == "Edit")]

    def assert_laid_out_at(self, window, dpi, what):
        reference = self.runs[96]["window"]
        for got, want in zip(size(window["clientRect"]), size(reference["clientRect"])):
            self.assertLessEqual(abs(got - scaled(want, dpi)), 1, f"{what}: client {size(window['clientRect'])}")
        controls, controls96 = self.controls(window), self.controls(reference)
        self.assertEqual([c["id"] for c in controls], [c["id"] for c in controls96])
        for control, control96 in zip(controls, controls96):
            edges = relative(control["rect"], window["clientRect"])
            expected = [scaled(v, dpi) for v in relative(control96["rect"], reference["clientRect"])]
            if control["class"] == "ComboBox":  # as high as its font: the template's height is its list's
                edges, expected = edges[:3], expected[:3]
            self.assertTrue(all(abs(a - b) <= 1 for a, b in zip(edges, expected)),
                            f"{what}: control {control['id']} {edges} != {expected}")
        row, row96 = (size(find_control(w, DEVICE_LIST)["rowRects"][0])[1] for w in (window, reference))
        self.assertLessEqual(abs(row - scaled(row96, dpi)), 1, f"{what}: row height {row}, {row96} at 96")

    def test_1_window_and_controls_are_the_96_dpi_layout_scaled(self):
        base = self.runs[96]["window"]
        for dpi in DPIS:
            window = self.runs[dpi]["window"]
            with self.subTest(dpi=dpi):
                self.assert_laid_out_at(window, dpi, f"{dpi} DPI")
            (w, h), (rw, rh) = size(window["rect"]), size(find_control(window, REFRESH)["rect"])
            (w96, h96), (rw96, rh96) = size(base["rect"]), size(find_control(base, REFRESH)["rect"])
            print(f"{dpi:3} DPI: window {w} x {h} ({w / w96:.3f} x {h / h96:.3f}), Refresh {rw} x {rh} "
                  f"({rw / rw96:.3f} x {rh / rh96:.3f}); {self.runs[dpi]['shot']}", file=sys.stderr)

    def test_2_a_change_from_96_to_192_lays_the_window_out_again(self):
        run, started = self.runs[96], self.runs[192]["window"]
        changed = run["changed"]
        # The size the window answered for 192 DPI; moved back onto the screen from the corner it was in.
        self.assertEqual(size(changed["rect"]), (run["suggested"][2] - run["suggested"][0],
                                                 run["suggested"][3] - run["suggested"][1]))
        self.assertEqual(size(changed["rect"]), size(started["rect"]))
        self.assertTrue(changed["rect"]["right"] <= SCREEN[0] and changed["rect"]["bottom"] <= SCREEN[1]
                        and changed["rect"]["left"] < run["suggested"][0], f"{changed['rect']} {run['suggested']}")
        self.assert_laid_out_at(changed, 192, "after WM_DPICHANGED")
        for after, at_start in zip(self.controls(changed), self.controls(started)):  # fonts as at a start too
            self.assertEqual(size(after["rect"]), size(at_start["rect"]), after["id"])
        fields = self.controls(changed, nested=True)
        self.assertEqual(len(fields), 12)
        for field, at_start in zip(fields, self.controls(started, nested=True)):  # the address fields as at a start
            self.assertEqual(relative(field["rect"], changed["clientRect"]), relative(at_start["rect"], started["clientRect"]))
        self.assertEqual([c["width"] for c in find_control(changed, DEVICE_LIST)["columns"]],
                         [c["width"] for c in find_control(started, DEVICE_LIST)["columns"]])

    def test_3_hover_faces_and_accessible_names_are_the_same_at_every_scale(self):
        for dpi in DPIS:
            rect = find_control(self.runs[dpi]["window"], REFRESH)["rect"]
            normal, hover = (rgb(self.runs[dpi][shot], crop=rect) for shot in ("shot", "hover"))
            self.assertLess(share_alike(normal, hover, tolerance=0), 0.9, f"{dpi} DPI: the hover face shows")
        self.assertEqual(self.runs[192]["names"], self.runs[96]["names"])

    def test_4_a_small_dialog_is_its_96_dpi_layout_scaled_too(self):
        about, about96 = self.runs[144]["about"], self.runs[96]["about"]
        pairs = [(about["clientRect"], about96["clientRect"])]
        pairs += [(c["rect"], c96["rect"]) for c, c96 in zip(self.controls(about), self.controls(about96))]
        for rect, rect96 in pairs:  # the client area, then each control (the icon is the 144-DPI icon)
            edges, want = relative(rect, about["clientRect"]), relative(rect96, about96["clientRect"])
            self.assertTrue(all(abs(a - scaled(b, 144)) <= 1 for a, b in zip(edges, want)), f"{edges} {want}")

    def test_5_faces_match_the_pictures_of_their_scale(self):
        """Refresh's faces where they overlap their scale's picture (drawn unscaled at the button's top-left;
        between two sets the larger one shrunk): >= 90 % alike; and
        Refresh shrunk back to 96 DPI >= 85 % like its 96-DPI look (printed always)."""
        rect96 = find_control(self.runs[96]["window"], REFRESH)["rect"]
        look96, checked = rgb(self.runs[96]["shot"], crop=rect96), 0
        for dpi in DPIS[1:]:
            rect = find_control(self.runs[dpi]["window"], REFRESH)["rect"]
            fill = share_alike(rgb(self.runs[dpi]["shot"], crop=rect, resize=size(rect96)), look96)
            print(f"{dpi} DPI: Refresh shrunk back to 96 DPI is {fill:.1%} like its 96-DPI look", file=sys.stderr)
            percent = next((p for p in ART_SETS if p * 96 >= dpi * 100), ART_SETS[-1])
            for shot, number in (("shot", 284), ("hover", 285)):
                art = sorted((guilab.ART / str(percent)).glob(f"{number}_*.png"))
                checked += 1
                face = guilab.bitmap(number)
                width, height = scaled(len(face[0]), dpi), scaled(len(face), dpi)
                part = corner({"left": 0, "top": 0}, min(width, size(rect)[0]), min(height, size(rect)[1]))
                shown = rgb(self.runs[dpi][shot], crop=corner(rect, *size(part)))
                drawn = rgb(art[0], resize=(width, height))
                drawn = [drawn[y * width + x] for y in range(part["bottom"]) for x in range(part["right"])]
                match = share_alike(shown, drawn)
                print(f"{dpi} DPI {shot}: {match:.1%} like its picture", file=sys.stderr)
                with self.subTest(dpi=dpi, face=number):
                    self.assertGreaterEqual(match, 0.90)
                    self.assertGreaterEqual(fill, 0.85)
        self.assertEqual(checked, 2 * len(DPIS[1:]), "every scale's faces were compared")

    def masked(self, control, dpi):
        """The parts of a control (relative to its rectangle) that Wine draws at the prefix's DPI, at their
        largest in either of the two prefixes compared (dpi: the larger of their DPIs)."""
        width, height = size(control["rect"])
        if control["class"] == "ComboBox":  # the drop-down button, as wide as the prefix's scroll bar + border
            button = max(COMBO_BUTTON_96, scaled(COMBO_BUTTON_96, dpi)) + 2
            return [(width - button, 0, width, height)]
        if control["class"] == "SysIPAddress32":  # between the fields: the separator dots
            left, fields = control["rect"]["left"], [f["rect"] for f in control["fields"]]
            return [(a["right"] - left, 0, b["left"] - left, height) for a, b in zip(fields, fields[1:])]
        return []

    def test_6_a_window_changed_to_a_dpi_looks_like_one_started_there(self):
        """The same window size, each control's rectangle the same and >= 99 % of its pixels within 8 per
        channel (outside what Wine draws at the prefix's DPI, see masked)."""
        for start, to in CHANGES.items():
            changed, changed_shot = self.runs[start]["changed"], self.runs[start]["changed_shot"]
            started, started_shot = self.runs[to]["window"], self.runs[to]["shot"]
            with self.subTest(change=f"{start} -> {to}"):
                self.assertEqual(size(changed["rect"]), size(started["rect"]))
                for control, at_start in zip(self.controls(changed), self.controls(started)):
                    self.assertEqual(relative(control["rect"], changed["rect"]),
                                     relative(at_start["rect"], started["rect"]), control["id"])
                    ours, theirs = rgb(changed_shot, crop=control["rect"]), rgb(started_shot, crop=at_start["rect"])
                    width = size(control["rect"])[0]
                    keep = [not any(l <= i % width < r and t <= i // width < b
                                    for l, t, r, b in self.masked(control | {"fields": self.fields_of(changed, control)},
                                                                  max(start, to)))
                            for i in range(len(ours))]
                    alike = share_alike([p for p, k in zip(ours, keep) if k], [p for p, k in zip(theirs, keep) if k],
                                        tolerance=8)
                    print(f"{start} -> {to}: control {control['id']} {alike:.2%} alike", file=sys.stderr)
                    self.assertGreaterEqual(alike, 0.99, f"{start} -> {to}: control {control['id']}")
                self.assertEqual([relative(f["rect"], changed["rect"]) for f in self.controls(changed, nested=True)],
                                 [relative(f["rect"], started["rect"]) for f in self.controls(started, nested=True)],
                                 f"{start} -> {to}: the address fields")

    def test_7_a_change_to_the_dpi_it_has_leaves_the_window_as_it_is(self):
        """Each control where it was: a picture button placed again is as large as its face again."""
        again, started = self.runs[144]["again"], self.runs[144]["window"]
        self.assertEqual([(c["id"], relative(c["rect"], again["rect"])) for c in self.controls(again)],
                         [(c["id"], relative(c["rect"], started["rect"])) for c in self.controls(started)])

    def test_8_a_minimised_window_given_a_dpi_comes_back_where_it_was_at_the_size_of_one_started_there(self):
        before, restored = self.runs[144]["restored"]
        self.assertEqual((restored["left"], restored["top"]), (before["left"], before["top"]))
        self.assertEqual(size(restored), size(self.runs[192]["window"]["rect"]))

    def test_9_a_change_while_dragged_leaves_the_window_under_the_pointer_until_the_move_ends(self):
        suggested, moving, ended = self.runs[144]["dragged"]
        self.assertEqual(moving, suggested, "pulled onto the screen in the middle of the drag")
        self.assertTrue(moving[2] > SCREEN[0] and moving[3] > SCREEN[1], f"not past the corner: {moving}")
        self.assertTrue(ended[0] >= 0 and ended[1] >= 0 and ended[2] <= SCREEN[0] and ended[3] <= SCREEN[1],
                        f"not on the screen once the move ended: {ended}")

    def fields_of(self, window, control):
        """An address editor's four fields (the nested edits inside its rectangle)."""
        inside = lambda r: all(control["rect"][k] <= r[k] for k in ("left", "top")) and all(
            r[k] <= control["rect"][k] for k in ("right", "bottom"))
        return [f for f in self.controls(window, nested=True) if inside(f["rect"])]


if __name__ == "__main__":
    unittest.main()
