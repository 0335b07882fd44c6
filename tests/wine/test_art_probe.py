"""The skin's pictures as the program loads them (quorvel-art-probe under Wine): at each set's own DPI the
decoded pixels are the committed PNG's exactly, for a screen bitmap and a 24-bit section alike; between
two sets and above the largest they are the area average of the next larger set (worked out here again,
with exact fractions) at the 100 % size times the scale. Every picture is being decoded ahead at a DPI
between two sets, on the cache's own thread, while the probe loads them: a picture made there is the same."""
import os
import sys
import unittest
from fractions import Fraction
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parents[1] / "tools" / "lab"))
sys.path.insert(0, str(HERE.parents[1] / "tests" / "art"))
import png_pixels  # noqa: E402
from test_framework_probe import run_probe  # noqa: E402
from winelab import WineProgramCase  # noqa: E402

WIN_BUILD = Path(os.environ.get("QUORVEL_WIN_BUILD", HERE.parents[1] / "build-win"))
PROBE = WIN_BUILD / "tests" / "wine" / "art_probe" / "quorvel-art-probe.exe"
ART = HERE.parents[1] / "res" / "art"
SETS = {96: 100, 120: 125, 144: 150, 168: 175, 192: 200}
SMALL = [231, 232, 233, 234, 235, 236, 237, 240, 243, 262, 263, 284, 285, 306, 307, 374, 378, 382, 384]
BETWEEN = {106: 125, 130: 150, 240: 200}  # a DPI between sets (or above them) and the set it comes from
SCALED = [284, 262, 236, 374]


def picture(number, scale):
    return png_pixels.pixels(next((ART / str(scale)).glob(f"{number}_*.png")).read_bytes())


def digest(width, height, rows):
    value = 0xcbf29ce484222325
    for row in rows:
        for byte in row:
            value = ((value ^ byte) * 0x100000001b3) & 0xFFFFFFFFFFFFFFFF
    return f"{width}x{height} {value:016x}"


def area_average(width, height, rows, new_width, new_height):
    """Each new pixel: the mean of the old pixels under it weighted by the area they share, half up."""
    def spans(old, new):
        result = []
        for d in range(new):
            begin, end = Fraction(d * old, new), Fraction((d + 1) * old, new)
            result.append([(i, min(end, i + 1) - max(begin, i)) for i in range(int(begin), old) if i < end])
        return result
    across, down = spans(width, new_width), spans(height, new_height)
    area = Fraction(width * height, new_width * new_height)
    out = []
    for taps_y in down:
        row = bytearray()
        for taps_x in across:
            for channel in range(3):
                total = sum(wy * wx * rows[y][3 * x + channel] for y, wy in taps_y for x, wx in taps_x)
                row.append(int(total / area + Fraction(1, 2)))
        out.append(bytes(row))
    return new_width, new_height, out


class ArtProbe(WineProgramCase):
    @classmethod
    def run_program(cls):
        dpis = ",".join(str(d) for d in list(SETS) + list(BETWEEN))
        run_probe(cls, PROBE, f"--ahead={next(iter(BETWEEN))}", dpis, "267", "999", *map(str, SMALL))

    def loaded(self, number, dpi):
        """The probe's digest of the picture, the same for both kinds of bitmap."""
        screen, section = (self.seen.get(f"art.{number}.{dpi}.{kind}") for kind in ("screen", "section"))
        self.assertEqual(screen, section, f"{number} at {dpi}")
        return screen

    def test_probe_ran_to_its_end(self):
        self.assertEqual(self.result.returncode, 0, self.result.stderr)
        self.assertEqual(self.seen.get("done"), "1", self.result.stdout)

    def test_each_set_decodes_to_its_pictures(self):
        for dpi, scale in SETS.items():
            for number in SMALL + ([267] if scale in (100, 150) else []):
                self.assertEqual(self.loaded(number, dpi), digest(*picture(number, scale)), f"{number} at {dpi}")

    def test_between_sets_the_larger_set_is_averaged_down(self):
        for dpi, scale in BETWEEN.items():
            for number in SCALED:
                width, height, _ = picture(number, 100)
                size = ((width * dpi + 48) // 96, (height * dpi + 48) // 96)
                expected = digest(*area_average(*picture(number, scale), *size))
                self.assertEqual(self.loaded(number, dpi), expected, f"{number} at {dpi}")

    def test_a_missing_picture_gives_no_bitmap(self):
        self.assertEqual(self.loaded(999, 96), "none")


if __name__ == "__main__":
    unittest.main()
