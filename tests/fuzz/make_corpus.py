#!/usr/bin/env python3
"""Writes the seed replies of fuzz_reply into corpus/: well-formed replies of every kind the
console reads, and a few broken ones next to them. Run again after changing it; the output is
committed so that a build never needs this script."""
import pathlib
import struct

CLIENT = bytes([0x3C, 0x91, 0x07, 0xE2, 0x5A, 0x10, 0xB4, 0x6F])
DEVICE = bytes([0x00, 0x11, 0x32, 0x0A, 0x4B, 0x5C, 0x6D, 0x7E])


def field(code, text):
    value = text.encode() if isinstance(text, str) else text
    if value:
        value += b"\0" * (4 - len(value) % 4)
    return struct.pack("<HH", code, 4 + len(value)) + value


def reply(opcode, fields=b"", status=0, payload_length=None):
    length = len(fields) if payload_length is None else payload_length
    header = struct.pack("<HHHH", 0xAA55, opcode, status, 0) + CLIENT + DEVICE + bytes(18)
    return header + struct.pack("<H", length) + fields


def port(index, ip, addr_a, dhcp, option):
    return (field(529, str(index)) + field(506, ip) + field(507, "255.255.255.0")
            + field(508, ip.rsplit(".", 1)[0] + ".1") + field(509, addr_a) + field(510, "")
            + field(505, dhcp) + field(538, option))


SEEDS = {
    "search_one_port": reply(101, field(504, "store") + field(527, "VRX-510L") + field(535, "0")
                             + field(531, "3") + field(536, "fw") + port(0, "198.51.100.7", "a", "1", "1")),
    "search_two_ports": reply(101, field(504, "archive") + field(527, "VRX-530L") + field(530, "1")
                              + field(535, "1") + port(0, "198.51.100.8", "a0", "0", "0")
                              + port(1, "203.0.113.8", "a1", "1", "1")),
    "search_stray_port": reply(101, field(527, "VRX-510LW") + port(5, "192.0.2.9", "x", "1", "9")),
    "check_password_ok": reply(102, status=1),
    "set_network_refused": reply(106, status=0),
    "shares": reply(164, field(1, "Volume_1:usb::Volume_1:" + "n" * 260 + ":")),
    "broken_field_length": reply(101, field(527, "VRX-517L") + struct.pack("<HH", 504, 2) + b"ab"),
    "field_past_end": reply(101, struct.pack("<HH", 527, 40) + b"VRX-510L"),
    "payload_length_wrong": reply(101, field(527, "VRX-510L"), payload_length=3),
}

if __name__ == "__main__":
    out = pathlib.Path(__file__).resolve().parent / "corpus"
    out.mkdir(exist_ok=True)
    for name, data in SEEDS.items():
        (out / name).write_bytes(data)
