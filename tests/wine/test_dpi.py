"""quorvel.exe at 96, 120, 144, 168, 192 and 110 DPI under Wine (LogPixels in each run's own prefix, one
program start per DPI, one Xvfb large enough for the 200 % window): the window and every control are the
96-DPI rectangles times the scale (within a pixel), the list rows grow with it, and one synthetic
WM_DPICHANGED from 96 to 192 lays the window out as a start at 192 does. Where the tree has the pictures
drawn for each scale (res/art/<percent>/), each face matches its own scale's picture and the 96-DPI face
stretched does not. A screenshot of each DPI is kept as a test artefact."""
import subprocess
import sys
import time
import unittest
from pathlib import Path

from console_driver import DEVICE_LIST, MAIN, REFRESH, TITLE, find_control, guilab, require_built, wait_until
from guilab import GuiSession, Xvfb
from labtest import LabCase, box

DPIS = (96, 120, 144, 168, 192, 110)
SCREEN = "1400x1200x24"   # the 200 % window is 862 x 1032
NUDGE_EXE = guilab.WIN_BUILD / "tests" / "wine" / "dpi_nudge" / "quorvel-dpi-nudge.exe"
ART = guilab.REPO / "res" / "art"
ART_SETS = (100, 125, 150, 175, 200)
BOXES = [box(1, "alpha"), box(2, "beta"), box(3, "gamma")]
REFRESH_FACES = {"normal": 284, "hover": 285}


def scaled(pixels, dpi):
    """96-DPI pixels at dpi, rounded as the program rounds (halves away from zero)."""
    magnitude = (abs(pixels) * dpi + 48) // 96
    return magnitude if pixels >= 0 else -magnitude


def relative(rect, origin):
    return [rect["left"] - origin["left"], rect["top"] - origin["top"], rect["right"] - origin["left"],
            rect["bottom"] - origin["top"]]


def size(rect):
    return rect["right"] - rect["left"], rect["bottom"] - rect["top"]


def rgb(path, crop=None, resize=None, sample=None):
    """Pixels of a picture as (r, g, b) tuples, row by row, optionally cut to crop (x, y, w, h) and then
    scaled to resize (w, h; area average) or sample (w, h; nearest pixel, as a stretched blit)."""
    args = ["convert", str(path)]
    if crop:
        args += ["-crop", "{2}x{3}+{0}+{1}".format(*crop), "+repage"]
    if resize:
        args += ["-filter", "box", "-resize", "{}x{}!".format(*resize)]
    if sample:
        args += ["-sample", "{}x{}!".format(*sample)]
    data = subprocess.run([*args, "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
    return [tuple(data[i:i + 3]) for i in range(0, len(data), 3)]


def share_alike(a, b, tolerance=24):
    """The share of pixel pairs whose every channel differs by at most tolerance."""
    pairs = list(zip(a, b))
    return sum(all(abs(x - y) <= tolerance for x, y in zip(p, q)) for p, q in pairs) / max(len(pairs), 1)


def art_for(dpi, number, width, height):
    """The picture of that scale at width x height (between two sets the next larger one shrunk by area
    average, as the program makes it); None when the tree has no such set."""
    percent = next((p for p in ART_SETS if p * 96 >= dpi * 100), ART_SETS[-1])
    found = sorted((ART / str(percent)).glob(f"{number}_*.png"))
    return rgb(found[0], resize=(width, height)) if found else None


def cut(pixels, width, part_width, part_height):
    """The top-left part_width x part_height of a picture width pixels wide."""
    return [pixels[y * width + x] for y in range(part_height) for x in range(part_width)]


class LayoutAtEveryDpi(LabCase):
    NETS = 1
    BOXES = {0: BOXES}

    @classmethod
    def setUpClass(cls):
        require_built(NUDGE_EXE)
        super().setUpClass()
        cls.xvfb = None
        cls.runs = {}
        try:
            cls.xvfb = Xvfb(cls.lab, screen=SCREEN)
            for dpi in DPIS:
                cls.runs[dpi] = cls.run_at(dpi)
        except BaseException:
            cls.tearDownClass()
            raise

    @classmethod
    def tearDownClass(cls):
        if cls.xvfb is not None:
            cls.xvfb.close()
            cls.xvfb = None
        super().tearDownClass()

    @classmethod
    def run_at(cls, dpi):
        """One program start at this DPI: its window as the inspector reads it, the screenshot, the screen
        with the pointer over Refresh; at 96 also the window after a change to 192."""
        def prepare(gui):  # both places Wine has read the DPI from, in one Wine process
            (gui.prefix.drive_c / "dpi.reg").write_text(
                "REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"
                f'"LogPixels"=dword:{dpi:08x}\n\n'
                "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts]\n"
                f'"LogPixels"=dword:{dpi:08x}\n')
            code, _, err = gui.run_wine("regedit", "/S", r"C:\dpi.reg")
            if code != 0:
                raise AssertionError(f"regedit failed: {err.strip()}")

        started = time.monotonic()
        with GuiSession(cls.lab, guilab.QUORVEL_EXE, name=f"dpi-{dpi}", display=cls.xvfb.display,
                        prepare=prepare) as gui:
            gui.wait_for_window(TITLE, timeout=120)
            window = wait_until(lambda: (w := gui.inspect(TITLE, timeout=30, **MAIN))
                                and len(find_control(w, DEVICE_LIST)["rows"]) == len(BOXES) and w, 60, "the rows")
            run = {"window": window, "shot": gui.screenshot("window")}
            refresh = find_control(window, REFRESH)["rect"]
            gui.xdotool("mousemove", "--sync", refresh["left"] + 3, refresh["top"] + 3)
            run["hover"] = gui.screenshot("hover")
            if dpi in (96, 192):
                run["names"] = {c["id"]: c["accName"] for c in gui.inspect(TITLE, names=True, **MAIN)["controls"]
                                if not c["nested"]}
            if dpi == 96:
                width, height = size(window["rect"])
                code, out, err = gui.run_wine(NUDGE_EXE, TITLE, 192, 2 * width, 2 * height)
                if code != 0:
                    raise AssertionError(f"the DPI change was not answered: {err.strip()}")
                run["suggested"] = [int(v) for v in out.split()]
                run["changed"] = gui.inspect(TITLE, timeout=30, **MAIN)
                run["changed_shot"] = gui.screenshot("changed-to-192")
        print(f"{dpi} DPI: {time.monotonic() - started:.1f} s for the run", file=sys.stderr)
        return run

    def controls(self, window):
        return [c for c in window["controls"] if not c["nested"]]

    def assert_laid_out_at(self, window, dpi, what):
        reference = self.runs[96]["window"]
        w96, h96 = size(reference["clientRect"])
        width, height = size(window["clientRect"])
        self.assertLessEqual(abs(width - scaled(w96, dpi)), 1, f"{what}: client width {width}")
        self.assertLessEqual(abs(height - scaled(h96, dpi)), 1, f"{what}: client height {height}")
        controls, controls96 = self.controls(window), self.controls(reference)
        self.assertEqual([c["id"] for c in controls], [c["id"] for c in controls96])
        for control, control96 in zip(controls, controls96):
            edges = relative(control["rect"], window["clientRect"])
            expected = [scaled(v, dpi) for v in relative(control96["rect"], reference["clientRect"])]
            if control["class"] == "ComboBox":  # its height is its font's, the template's is the list's
                edges, expected = edges[:3], expected[:3]
            for edge, want in zip(edges, expected):
                self.assertLessEqual(abs(edge - want), 1, f"{what}: control {control['id']} {edges} != {expected}")
        rows = find_control(window, DEVICE_LIST)["rowRects"]
        rows96 = find_control(reference, DEVICE_LIST)["rowRects"]
        row, row96 = size(rows[0])[1], size(rows96[0])[1]
        self.assertLessEqual(abs(row - scaled(row96, dpi)), 1, f"{what}: row height {row}, {row96} at 96")

    def test_1_window_and_controls_are_the_96_dpi_layout_scaled(self):
        base = self.runs[96]["window"]
        for dpi in DPIS[1:]:
            with self.subTest(dpi=dpi):
                self.assert_laid_out_at(self.runs[dpi]["window"], dpi, f"{dpi} DPI")
        for dpi in DPIS:
            window = self.runs[dpi]["window"]
            (w, h), (rw, rh) = size(window["rect"]), size(find_control(window, REFRESH)["rect"])
            (w96, h96), (rw96, rh96) = size(base["rect"]), size(find_control(base, REFRESH)["rect"])
            print(f"{dpi:3} DPI: window {w} x {h} ({w / w96:.3f} x {h / h96:.3f}), Refresh {rw} x {rh} "
                  f"({rw / rw96:.3f} x {rh / rh96:.3f}); shot {self.runs[dpi]['shot']}", file=sys.stderr)

    def test_2_a_change_from_96_to_192_lays_the_window_out_again(self):
        run = self.runs[96]
        changed = run["changed"]
        rect = changed["rect"]
        self.assertEqual([rect["left"], rect["top"], rect["right"], rect["bottom"]], run["suggested"])
        self.assert_laid_out_at(changed, 192, "after WM_DPICHANGED")
        started = self.runs[192]["window"]
        for after, at_start in zip(self.controls(changed), self.controls(started)):
            if after["class"] != "ComboBox":  # a combo box is as high as its font
                self.assertEqual(size(after["rect"]), size(at_start["rect"]), after["id"])
        fields96 = [c for c in run["window"]["controls"] if c["nested"] and c["class"] == "Edit"]
        fields = [c for c in changed["controls"] if c["nested"] and c["class"] == "Edit"]
        self.assertEqual(len(fields), 12, "four fields in each address editor")
        for field, field96 in zip(fields, fields96):  # an address editor's fields move with it
            edges, edges96 = relative(field["rect"], changed["clientRect"]), relative(field96["rect"], run["window"]["clientRect"])
            self.assertTrue(all(abs(a - 2 * b) <= 2 for a, b in zip(edges, edges96)), f"{edges} {edges96}")
        columns = [c["width"] for c in find_control(changed, DEVICE_LIST)["columns"]]
        self.assertEqual(columns, [c["width"] for c in find_control(started, DEVICE_LIST)["columns"]])

    def test_3_hover_faces_and_accessible_names_are_the_same_at_every_scale(self):
        for dpi in DPIS:
            rect = find_control(self.runs[dpi]["window"], REFRESH)["rect"]
            box_ = (rect["left"], rect["top"], *size(rect))
            normal, hover = rgb(self.runs[dpi]["shot"], crop=box_), rgb(self.runs[dpi]["hover"], crop=box_)
            self.assertLess(share_alike(normal, hover, tolerance=0), 0.9, f"{dpi} DPI: the hover face shows")
        self.assertEqual(self.runs[192]["names"], self.runs[96]["names"])

    def test_4_faces_match_the_pictures_of_their_scale(self):
        """Each face against its own scale's picture (where they overlap: the face is drawn unscaled at the
        button's top-left); the 96-DPI face stretched must score below 90 %. Refresh shrunk back to 96 DPI
        against its look at 96 is printed, and must reach 85 % once the pictures come per scale."""
        base = self.runs[96]["window"]
        rect96 = find_control(base, REFRESH)["rect"]
        look96 = rgb(self.runs[96]["shot"], crop=(rect96["left"], rect96["top"], *size(rect96)))
        checked = 0
        for dpi in DPIS[1:]:
            rect = find_control(self.runs[dpi]["window"], REFRESH)["rect"]
            width, height = size(rect)
            shrunk = rgb(self.runs[dpi]["shot"], crop=(rect["left"], rect["top"], width, height), resize=size(rect96))
            fill = share_alike(shrunk, look96)
            print(f"{dpi} DPI: Refresh shrunk back to 96 DPI matches its 96-DPI look in {fill:.1%}", file=sys.stderr)
            for kind, number in REFRESH_FACES.items():
                face = guilab.bitmap(number)
                art_width, art_height = scaled(len(face[0]), dpi), scaled(len(face), dpi)
                art = art_for(dpi, number, art_width, art_height)
                if art is None:
                    continue
                checked += 1
                part = min(art_width, width), min(art_height, height)
                shown = rgb(self.runs[dpi]["shot" if kind == "normal" else "hover"], crop=(rect["left"], rect["top"], *part))
                bmp = next(guilab.BITMAPS.glob(f"{number}_*.bmp"))
                stretched = cut(rgb(bmp, sample=(art_width, art_height)), art_width, *part)
                art = cut(art, art_width, *part)
                with self.subTest(dpi=dpi, face=kind):
                    match, naive = share_alike(shown, art), share_alike(stretched, art)
                    print(f"{dpi} DPI {kind}: {match:.1%} of the face as drawn, {naive:.1%} stretched", file=sys.stderr)
                    self.assertGreaterEqual(match, 0.90)
                    self.assertLess(naive, 0.90)
                    self.assertGreaterEqual(fill, 0.85)
        if checked == 0:
            self.skipTest("this tree has no pictures per scale (res/art/<percent>/)")


if __name__ == "__main__":
    unittest.main()
