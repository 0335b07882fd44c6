"""The skin's pictures as committed: every set holds the same pictures at the 100 % size times its
scale, as bare PNG (no chunk a decoder could use to alter a pixel), all embedded by res/art.rc under the
numbers skin/art_sets.h gives, and the 100 % set is the original look pixel for pixel."""
import hashlib
import pathlib
import re
import unittest

import png_pixels

RES = pathlib.Path(__file__).resolve().parents[2] / "res"
ART = RES / "art"
SCALES = (100, 125, 150, 175, 200)  # the order of the sets in skin/art_sets.h
SET_STRIDE = 1000
ORIGINAL = pathlib.Path(__file__).with_name("original_pixels.txt")


def pictures(scale):
    """{number: path} of one set."""
    return {int(p.name.split("_")[0]): p for p in (ART / str(scale)).glob("*.png")}


def size(path):
    found = png_pixels.chunks(path.read_bytes())
    return int.from_bytes(found[0][1][0:4], "big"), int.from_bytes(found[0][1][4:8], "big")


def pixel_digest(path):
    width, height, rows = png_pixels.pixels(path.read_bytes())
    return f"{width}x{height} {hashlib.sha256(b''.join(rows)).hexdigest()}"


class Art(unittest.TestCase):
    def test_every_set_holds_the_same_pictures_at_its_scale(self):
        base = pictures(100)
        self.assertEqual(len(base), 56)
        for scale in SCALES:
            found = pictures(scale)
            self.assertEqual(sorted(found), sorted(base), scale)
            for number, path in found.items():
                width, height = size(base[number])
                expected = ((width * scale + 50) // 100, (height * scale + 50) // 100)
                self.assertEqual(size(path), expected, path.name)

    def test_pictures_are_bare_rgb(self):
        for scale in SCALES:
            for path in pictures(scale).values():
                found = png_pixels.chunks(path.read_bytes())
                self.assertEqual({kind for kind, _ in found}, {"IHDR", "IDAT", "IEND"}, path)
                self.assertEqual(found[0][1][8:10], b"\x08\x02", path)  # 8 bits per channel, RGB

    def test_the_resource_script_embeds_every_set_by_its_numbers(self):
        lines = re.findall(r'^(\d+) PNG "(art/\d+/[^"]+\.png)"$', (RES / "art.rc").read_text(), re.M)
        expected = {(str(number + SET_STRIDE * index), f"art/{scale}/{path.name}")
                    for index, scale in enumerate(SCALES) for number, path in pictures(scale).items()}
        self.assertEqual(set(lines), expected)
        self.assertEqual(len(lines), len(expected))

    def test_the_100_percent_set_is_the_original_look(self):
        """original_pixels.txt: size and SHA-256 of the RGB rows (top first) of each original bitmap,
        taken from the 24-bit BMPs the program was built with before the pictures became PNG."""
        original = dict(line.split(" ", 1) for line in ORIGINAL.read_text().splitlines() if line[:1].isdigit())
        found = {str(number): pixel_digest(path) for number, path in pictures(100).items()}
        self.assertEqual(found, original)


class Reader(unittest.TestCase):
    """The reader the test above trusts, against pixels written by hand."""

    def test_every_filter_type(self):
        import struct
        import zlib
        rows = [bytes([10, 20, 30, 40, 50, 60]), bytes([200, 100, 0, 255, 255, 255])]
        for kind in range(5):
            raw, previous = b"", bytes(6)
            for row in rows:
                filtered = bytearray(row)
                for x in range(6):
                    a = row[x - 3] if x >= 3 else 0
                    b, c = previous[x], (previous[x - 3] if x >= 3 else 0)
                    guess = [0, a, b, (a + b) // 2, png_pixels._paeth(a, b, c)][kind]
                    filtered[x] = (row[x] - guess) & 255
                raw += bytes([kind]) + bytes(filtered)
                previous = row

            def chunk(name, body):
                return struct.pack(">I", len(body)) + name + body + struct.pack(">I", zlib.crc32(name + body))
            data = (png_pixels.SIGNATURE + chunk(b"IHDR", struct.pack(">IIBBBBB", 2, 2, 8, 2, 0, 0, 0))
                    + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))
            self.assertEqual(png_pixels.pixels(data), (2, 2, rows), kind)


if __name__ == "__main__":
    unittest.main()
