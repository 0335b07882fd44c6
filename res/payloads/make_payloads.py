#!/usr/bin/env python3
"""Writes the payload files that the program carries for the hidden services, and res/payloads.rc that
embeds them. Run by hand after a change; its output is committed, so a build never runs it.

- codepage.NNN: a marker that says which codepage the box is to use.
- unicode_map.*: byte sequence to Unicode code point, one pair a line, taken from the codecs of the Python
  that runs this script. Single-byte codepages are complete; for the double-byte ones only the single-byte
  range is included, to keep the program small, and the file says so.
- nls_*.o / nls_*.ko and the add-on's bt / btdog: the box's own programs, which this project cannot build;
  each is a placeholder that says what it stands for.

Every placeholder (the programs and the partial maps) carries MARKER. The build refuses to embed a file
with the marker unless res/payloads/placeholders.txt lists it (cmake/check_payloads.cmake).
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

# (codepage, list text, marker id, old-layout modules, new-layout modules, maps); ids as the program uses.
CODEPAGES = [
    (950, "Traditional Chinese", 151, [("nls_cp950.o", 153), ("nls_big5.o", 155)],
     [("nls_cp950.ko", 174), ("nls_cp950_12.ko", 192)], [("unicode_map.950", 156, "cp950")]),
    (936, "Simplified Chinese", 157, [("nls_cp936.o", 158), ("nls_gb2312.o", 159)],
     [("nls_cp936.ko", 175), ("nls_cp936_12.ko", 190)], [("unicode_map.936", 160, "cp936")]),
    (850, "Western European", 143, [("nls_cp850.o", 145)],
     [("nls_cp850.ko", 179), ("nls_cp850_12.ko", 187)], [("unicode_map.850", 148, "cp850")]),
    (949, "Korean Hangul", 165, [("nls_cp949.o", 166), ("nls_euc-kr.o", 167)],
     [("nls_cp949.ko", 176), ("nls_cp949_12.ko", 191)], [("unicode_map.949", 168, "cp949")]),
    (866, "Cyrillic", 169, [("nls_cp866.o", 170), ("nls_koi8-r.o", 185)],
     [("nls_cp866.ko", 177), ("nls_koi8-r.ko", 183), ("nls_cp866_12.ko", 188), ("nls_koi8-r_12.ko", 194)],
     [("unicode_map.866", 171, "cp866"), ("unicode_map.KOI8-R", 184, "koi8_r")]),
    (932, "Japanese SJIS", 161, [("nls_cp932.o", 162), ("nls_euc-jp.o", 163), ("nls_sjis.o", 172)],
     [("nls_cp932.ko", 173), ("nls_euc-jp.ko", 178), ("nls_cp932_12.ko", 189), ("nls_euc-jp_12.ko", 193)],
     [("unicode_map.932", 164, "cp932")]),
]

ADDON = [("bt", 215, "the download add-on's program"), ("btdog", 220, "the download add-on's watchdog")]

DOUBLE_BYTE = {"cp932", "cp936", "cp949", "cp950"}

MARKER = "QUORVEL-PLACEHOLDER"


def marker(codepage, text):
    return f"codepage {codepage}\n{text}\nMarker written by Quorvel: the box uses this codepage for file names.\n"


def placeholder(name, what):
    return (f"{MARKER} for {name}: {what}.\n"
            "Quorvel cannot build it; this file only stands in its place so that the upload can be tested.\n")


def unicode_map(name, codec):
    lines = [f"# {name}: byte to Unicode map of codec {codec}, made by res/payloads/make_payloads.py"]
    if codec in DOUBLE_BYTE:
        lines.append(f"# {MARKER}: partial, the single-byte range only; the double-byte characters are not included.")
    lines.append("# byte<TAB>code point")
    for byte in range(256):
        try:
            char = bytes([byte]).decode(codec)
        except UnicodeDecodeError:
            continue
        if len(char) == 1:
            lines.append(f"0x{byte:02X}\t0x{ord(char):04X}")
    return "\n".join(lines) + "\n"


def write(folder, name, text):
    os.makedirs(os.path.join(HERE, folder), exist_ok=True)
    with open(os.path.join(HERE, folder, name), "w", encoding="ascii", newline="\n") as out:
        out.write(text)
    return f"payloads/{folder}/{name}"


def main():
    rc = ["// Made by res/payloads/make_payloads.py: the payloads of the hidden services, by type and id.", ""]
    for codepage, text, marker_id, old, new, maps in CODEPAGES:
        name = f"codepage.{codepage}"
        rc.append(f'{marker_id} Codepage "{write("codepage", name, marker(codepage, text))}"')
        for module, module_id in old + new:
            what = f"the box's kernel module that converts file names for codepage {codepage}"
            rc.append(f'{module_id} Codepage "{write("codepage", module, placeholder(module, what))}"')
        for map_name, map_id, codec in maps:
            rc.append(f'{map_id} Codepage "{write("codepage", map_name, unicode_map(map_name, codec))}"')
    for name, payload_id, what in ADDON:
        rc.append(f'{payload_id} BT "{write("bt", name, placeholder(name, what))}"')
    with open(os.path.join(HERE, "..", "payloads.rc"), "w", encoding="ascii", newline="\n") as out:
        out.write("\n".join(rc) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
