"""A small PNG reader for the skin's pictures: 8-bit RGB (colour type 2), not interlaced, which is all
res/make_art.sh writes. Anything else is refused rather than guessed at."""
import struct
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"


def chunks(data):
    """The (type, body) of every chunk, in order; the file's CRCs checked."""
    if not data.startswith(SIGNATURE):
        raise ValueError("not a PNG file")
    at, found = len(SIGNATURE), []
    while at < len(data):
        length, kind = struct.unpack_from(">I4s", data, at)
        body = data[at + 8:at + 8 + length]
        if struct.unpack_from(">I", data, at + 8 + length)[0] != zlib.crc32(kind + body):
            raise ValueError(f"bad CRC in chunk {kind!r}")
        found.append((kind.decode("ascii"), body))
        at += 12 + length
    return found


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else (b if pb <= pc else c)


def pixels(data):
    """(width, height, rows): rows top first, each a bytes object of r, g, b triples."""
    found = chunks(data)
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", found[0][1])
    if found[0][0] != "IHDR" or depth != 8 or colour != 2 or interlace != 0:
        raise ValueError("only 8-bit RGB, not interlaced")
    raw = zlib.decompress(b"".join(body for kind, body in found if kind == "IDAT"))
    stride, rows, previous = width * 3, [], bytearray(width * 3)
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        kind, row = line[0], bytearray(line[1:])
        for x in range(stride):
            a = row[x - 3] if x >= 3 else 0
            b = previous[x]
            c = previous[x - 3] if x >= 3 else 0
            if kind == 1:
                row[x] = (row[x] + a) & 255
            elif kind == 2:
                row[x] = (row[x] + b) & 255
            elif kind == 3:
                row[x] = (row[x] + (a + b) // 2) & 255
            elif kind == 4:
                row[x] = (row[x] + _paeth(a, b, c)) & 255
            elif kind != 0:
                raise ValueError(f"unknown filter {kind}")
        rows.append(bytes(row))
        previous = row
    return width, height, rows
