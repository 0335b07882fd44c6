#!/usr/bin/env python3
"""Writes a zip whose bytes depend on its contents alone: entries in the order given, each dated
SOURCE_DATE_EPOCH (the commit's time), mode 0644, deflated; .txt files get Windows line ends.
    release_zip.py OUT.zip NAME=PATH ..."""
import os
import sys
import time
import zipfile

ZIP_EPOCH = 315532800  # 1980-01-01, the earliest date a zip entry can hold


def entry_date():
    seconds = max(int(os.environ.get("SOURCE_DATE_EPOCH", "0")), ZIP_EPOCH)
    return time.gmtime(seconds)[:6]


def contents(name, path):
    with open(path, "rb") as f:
        data = f.read()
    if name.endswith(".txt"):
        data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
    return data


def main(out, pairs):
    date = entry_date()
    with zipfile.ZipFile(out, "w") as archive:
        for pair in pairs:
            name, path = pair.split("=", 1)
            info = zipfile.ZipInfo(name, date_time=date)
            info.create_system = 3  # Unix, so that the mode below is what unzip restores
            info.external_attr = 0o100644 << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(info, contents(name, path), compresslevel=9)


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2:])
