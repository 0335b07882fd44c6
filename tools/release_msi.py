#!/usr/bin/env python3
"""Writes the Windows installer from packaging/quorvel.wxs with wixl, with bytes that depend on its inputs
alone:
    release_msi.py OUT.msi VERSION [--commit COMMIT] NAME=PATH ...
NAME is each of quorvel.exe, quorvel-cli.exe, README.txt, LICENSE.txt and quorvel.ico (the icon of the
shortcut and of the installed programs' entry); .txt files get Windows line ends, as in the zip.

The ProductCode is a name-based UUID of the version and the package code one of the commit and the
version and the contents, both in the UpgradeCode's name space: two builds
of one commit are the same package, two commits never share a package code. wixl writes a random package
code and the build time into the summary information, and the cabinet keeps each file's modification time;
the summary is rewritten with the package code and SOURCE_DATE_EPOCH (the commit's time), and the staged
files are dated SOURCE_DATE_EPOCH."""
import argparse
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import uuid
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from release_zip import ZIP_EPOCH, contents  # noqa: E402

WXS = Path(__file__).resolve().parents[1] / "packaging" / "quorvel.wxs"
FILES = ("quorvel.exe", "quorvel-cli.exe", "README.txt", "LICENSE.txt", "quorvel.ico")
# Windows Installer's limits on a product version's first three numbers; the fourth is not compared.
VERSION_LIMITS = (255, 255, 65535, 65535)
SUMMARY_PACKAGE_CODE, SUMMARY_CREATED, SUMMARY_SAVED = 9, 12, 13


def source_date():
    """SOURCE_DATE_EPOCH, not before the earliest date that a cabinet entry can hold."""
    return max(int(os.environ.get("SOURCE_DATE_EPOCH", "0")), ZIP_EPOCH)


def check_version(version):
    numbers = version.split(".")
    if len(numbers) != 4 or not all(n.isdigit() and int(n) <= top for n, top in zip(numbers, VERSION_LIMITS)):
        sys.exit(f"release_msi: {version!r} is no installer version (four numbers, at most "
                 f"{'.'.join(map(str, VERSION_LIMITS))})")


def upgrade_code():
    return uuid.UUID(re.search(r'UpgradeCode="([0-9a-fA-F-]{36})"', WXS.read_text()).group(1))


def stage(pairs, folder, date):
    """Copies the files into the folder under their names, each dated `date`; returns the names in order."""
    names = []
    for pair in pairs:
        name, path = pair.split("=", 1)
        target = folder / name
        target.write_bytes(contents(name, path))
        os.utime(target, (date, date))
        names.append(name)
    if sorted(names) != sorted(FILES):
        sys.exit(f"release_msi: give exactly {', '.join(FILES)}; got {', '.join(names)}")
    return names


def package_code(namespace, version, commit, folder):
    """Name-based on the commit, the version and what the package holds: two builds of one commit with the same
    tools are the same package, and a package whose bytes differ (another commit, a changed tree, another
    compiler) never shares a code, which Windows Installer would take for the package it already has."""
    digest = hashlib.sha256(WXS.read_bytes())
    for name in sorted(FILES):
        digest.update(name.encode() + b"\0" + (folder / name).read_bytes())
    return uuid.uuid5(namespace, f"package {commit} {version} {digest.hexdigest()}")


def write_summary(msi, code, date, folder, env):
    """Sets the package code and both dates of the summary information (msibuild imports it as a table)."""
    stamp = time.strftime("%Y/%m/%d %H:%M:%S", time.gmtime(date))
    rows = [(SUMMARY_PACKAGE_CODE, "{%s}" % str(code).upper()), (SUMMARY_CREATED, stamp), (SUMMARY_SAVED, stamp)]
    table = folder / "_SummaryInformation.idt"
    table.write_bytes("".join(f"{a}\t{b}\r\n" for a, b in
                              [("PropertyId", "Value"), ("i2", "l255"), ("_SummaryInformation", "PropertyId"),
                               *rows]).encode())
    subprocess.run(["msibuild", str(msi), "-i", str(table)], check=True, env=env)  # it reads the dates as local


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("out")
    parser.add_argument("version")
    parser.add_argument("--commit", default="")
    parser.add_argument("files", nargs="+", metavar="NAME=PATH")
    args = parser.parse_args()
    check_version(args.version)
    namespace = upgrade_code()
    date = source_date()
    out = Path(args.out).resolve()
    with tempfile.TemporaryDirectory(prefix="quorvel-msi-") as tmp:
        staged = Path(tmp) / "stage"
        staged.mkdir()
        stage(args.files, staged, date)
        product = uuid.uuid5(namespace, f"product {args.version}")
        env = dict(os.environ, TZ="UTC")  # the cabinet holds local times
        out.unlink(missing_ok=True)
        built = Path(tmp) / "package.msi"  # moved to `out` only once its summary is fixed
        # wixl takes the files' paths relative to the source's folder, so the source is copied beside them.
        (Path(tmp) / WXS.name).write_bytes(WXS.read_bytes())
        subprocess.run(["wixl", "--arch", "x64", "-D", f"Version={args.version}", "-D", f"ProductCode={product}",
                        "-D", "Stage=stage", "-o", str(built), WXS.name], check=True, env=env, cwd=tmp)
        write_summary(built, package_code(namespace, args.version, args.commit, staged), date, Path(tmp), env)
        shutil.move(built, out)


if __name__ == "__main__":
    main()
