"""Two release builds of the commit, from two clean clones in folders of different lengths made
minutes apart, must give the same bytes; then the zip, the installer, the checksums, the Windows programs
and the Debian package are checked as a user meets them."""
import hashlib
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile
from pathlib import Path

SOURCE = Path(os.environ.get("QUORVEL_SOURCE", Path(__file__).resolve().parents[2]))
VERSION = os.environ["QUORVEL_VERSION"]
sys.path.insert(0, str(SOURCE / "tools" / "lab"))
import lab  # noqa: E402

ZIP = f"quorvel-{VERSION}-windows-x64.zip"
MSI = f"quorvel-{VERSION}-windows-x64.msi"
DEB = f"quorvel-tools_{VERSION}_amd64.deb"
ZIP_ENTRIES = ["quorvel.exe", "quorvel-cli.exe", "README.txt", "LICENSE.txt"]
SYSTEM_DLLS = {f"{name}.dll" for name in (
    "kernel32", "user32", "gdi32", "comctl32", "advapi32", "shell32", "ws2_32", "iphlpapi", "mpr",
    "wininet", "ole32", "oleaut32", "oleacc", "msvcrt")}
# Loaded at their first call, from the system folder only: never in the tables resolved before the start.
LOADED_AT_FIRST_CALL = {f"{name}.dll" for name in ("iphlpapi", "mpr", "wininet", "oleacc", "oleaut32", "shell32")}
FIXED_FILE_INFO_SIGNATURE = struct.pack("<I", 0xFEEF04BD)


def run(argv, **kwargs):
    return subprocess.run([str(a) for a in argv], capture_output=True, text=True, **kwargs)


def release_in(folder, commit, use_cache):
    """Clones the source into `folder`, checks out the commit and runs the release command there."""
    checkout = folder / "quorvel"
    subprocess.run(["git", "clone", "-q", "--no-hardlinks", str(SOURCE), str(checkout)], check=True)
    subprocess.run(["git", "-C", str(checkout), "checkout", "-q", "--detach", commit], check=True)
    env = dict(os.environ)
    if not use_cache:  # compiled afresh, so a cached object cannot hide a difference
        env["CCACHE_DISABLE"] = "1"
        for name in ("CMAKE_CXX_COMPILER_LAUNCHER", "CMAKE_C_COMPILER_LAUNCHER"):
            env.pop(name, None)
    env.pop("SOURCE_DATE_EPOCH", None)
    result = run([checkout / "tools" / "release.sh"], env=env, cwd=folder, timeout=2400)
    if result.returncode != 0:
        raise RuntimeError(f"release in {folder} failed:\n{result.stderr[-4000:]}")
    return checkout / "dist"


def coff_header(image):
    """(TimeDateStamp, PointerToSymbolTable, NumberOfSymbols) of a PE image."""
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    assert image[pe:pe + 4] == b"PE\0\0"
    return struct.unpack_from("<III", image, pe + 8)


def version_string(image, key):
    """The value of one StringFileInfo entry of the version resource (UTF-16, after its padding)."""
    start = image.find((key + "\0").encode("utf-16-le"))
    if start < 0:
        return None
    at = start + 2 * (len(key) + 1)
    while image[at:at + 2] == b"\0\0":
        at += 2
    end = at
    while image[end:end + 2] != b"\0\0":
        end += 2
    return image[at:end].decode("utf-16-le")


class ReleaseBuilds(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.commit = run(["git", "-C", SOURCE, "rev-parse", "HEAD"], check=True).stdout.strip()
        print(f"release builds of commit {cls.commit}", file=sys.stderr)
        cls.tmp = Path(tempfile.mkdtemp(prefix="quorvel-release-"))
        try:
            first = cls.tmp / "a"
            second = cls.tmp / "second-checkout-with-a-longer-path"
            first.mkdir()
            second.mkdir()
            cls.dists = [release_in(first, cls.commit, use_cache=True),
                         release_in(second, cls.commit, use_cache=False)]
            cls.dist = cls.dists[0]
            cls.unpacked = cls.tmp / "unpacked"
            with zipfile.ZipFile(cls.dist / ZIP) as archive:
                archive.extractall(cls.unpacked)
        except BaseException:
            shutil.rmtree(cls.tmp, ignore_errors=True)
            raise

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def exe(self, name):
        return (self.unpacked / name).read_bytes()

    def test_two_checkouts_give_the_same_bytes(self):
        names = [sorted(p.name for p in dist.iterdir()) for dist in self.dists]
        self.assertEqual(names[0], sorted([ZIP, MSI, DEB, "SHA256SUMS"]))
        self.assertEqual(names[0], names[1])
        for name in names[0]:
            digests = [hashlib.sha256((dist / name).read_bytes()).hexdigest() for dist in self.dists]
            self.assertEqual(digests[0], digests[1], f"{name} differs between the two builds")

    def test_zip_holds_exactly_the_four_files_with_fixed_dates_and_modes(self):
        with zipfile.ZipFile(self.dist / ZIP) as archive:
            infos = archive.infolist()
            self.assertIsNone(archive.testzip())
        self.assertEqual([i.filename for i in infos], ZIP_ENTRIES)
        self.assertEqual({(i.date_time, i.external_attr >> 16) for i in infos}, {(infos[0].date_time, 0o100644)})
        self.assertIn(b"\r\n", (self.unpacked / "README.txt").read_bytes())
        self.assertIn(b"doctor", (self.unpacked / "README.txt").read_bytes())

    def test_checksums_verify(self):
        result = run(["sha256sum", "--check", "--strict", "SHA256SUMS"], cwd=self.dist)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        checked = dict(line.rsplit(": ", 1) for line in result.stdout.splitlines())
        self.assertEqual(checked, {ZIP: "OK", MSI: "OK", DEB: "OK"})

    def test_installer_holds_the_zips_files_and_is_dated_at_the_commit(self):
        info = run(["msiinfo", "suminfo", self.dist / MSI], check=True, env=dict(os.environ, TZ="UTC")).stdout
        print(info, file=sys.stderr)
        commit_time = int(run(["git", "-C", SOURCE, "log", "-1", "--format=%ct", self.commit], check=True).stdout)
        self.assertIn(f"Created: {time.asctime(time.gmtime(commit_time))}\n", info)
        self.assertIn("Template: x64;1033\n", info)
        extracted = self.tmp / "msi-files"
        run(["msiextract", "-C", extracted, self.dist / MSI], check=True)
        files = sorted(p.name for p in (extracted / "Quorvel").iterdir())
        self.assertEqual(files, sorted(ZIP_ENTRIES))
        for name in files:
            self.assertEqual((extracted / "Quorvel" / name).read_bytes(), (self.unpacked / name).read_bytes(), name)

    def test_programs_import_only_system_dlls(self):
        for name in ("quorvel.exe", "quorvel-cli.exe"):
            dump = run(["x86_64-w64-mingw32-objdump", "-p", self.unpacked / name], check=True).stdout
            dlls = {line.split(":", 1)[1].strip().lower() for line in dump.splitlines() if "DLL Name:" in line}
            self.assertIn("kernel32.dll", dlls, name)
            self.assertLessEqual(dlls, SYSTEM_DLLS, name)
            self.assertFalse(dlls & LOADED_AT_FIRST_CALL, name)

    def test_programs_are_stripped_and_carry_no_link_time(self):
        for name in ("quorvel.exe", "quorvel-cli.exe"):
            self.assertEqual(coff_header(self.exe(name)), (0, 0, 0), name)
            sections = run(["x86_64-w64-mingw32-objdump", "-h", self.unpacked / name], check=True).stdout
            self.assertNotIn(".debug", sections, name)

    def test_version_resource_manifest_and_about_box_hold_the_version(self):
        numbers = [int(n) for n in VERSION.split(".")]
        packed = struct.pack("<IIII", numbers[0] << 16 | numbers[1], numbers[2] << 16 | numbers[3],
                             numbers[0] << 16 | numbers[1], numbers[2] << 16 | numbers[3])
        for name in ("quorvel.exe", "quorvel-cli.exe"):
            image = self.exe(name)
            fixed = image.find(FIXED_FILE_INFO_SIGNATURE)
            self.assertGreater(fixed, 0, name)
            self.assertEqual(image[fixed + 8:fixed + 24], packed, name)
            for key in ("FileVersion", "ProductVersion"):
                self.assertEqual(version_string(image, key), VERSION, f"{name} {key}")
            self.assertEqual(version_string(image, "ProductName"), "Quorvel", name)
            self.assertIn("The Quorvel authors", version_string(image, "LegalCopyright"), name)
            self.assertIn("MIT", version_string(image, "License"), name)
        gui = self.exe("quorvel.exe")
        self.assertIn(f"Version : {VERSION}".encode("utf-16-le"), gui)
        self.assertIn(f'name="Quorvel" version="{VERSION}"'.encode(), gui)

    def test_package_installs_runs_finds_its_manual_and_removes(self):
        deb = self.dist / DEB
        fields = run(["dpkg-deb", "--field", deb, "Package", "Version", "Architecture", "Depends"],
                     check=True).stdout
        self.assertIn(f"Version: {VERSION}\n", fields)
        self.assertIn("libc6", fields)  # Depends is computed from the programs' libraries
        result = run(["dpkg", "-i", deb])
        self.assertEqual(result.returncode, 0, result.stderr)
        try:
            # quorvel-cli runs in the lab like every other run of it; boxsim answers anywhere.
            with lab.Lab(nets=1) as net:
                cli = net.pc_run(["/usr/bin/quorvel-cli", "--version"], timeout=60)
            self.assertEqual((cli.returncode, cli.stdout), (0, f"quorvel-cli {VERSION}\n"), cli.stderr)
            boxsim = run(["/usr/bin/quorvel-boxsim", "--version"], timeout=60)
            self.assertEqual((boxsim.returncode, boxsim.stdout), (0, f"quorvel-boxsim {VERSION}\n"))
            for page in ("quorvel-cli", "quorvel-boxsim"):
                found = run(["man", "-w", page])
                self.assertEqual(found.stdout.strip(), f"/usr/share/man/man1/{page}.1.gz", found.stderr)
            for program in ("quorvel-cli", "quorvel-boxsim"):
                self.assertNotIn("not stripped", run(["file", f"/usr/bin/{program}"]).stdout, program)
        finally:
            removed = run(["dpkg", "-r", "quorvel-tools"])
        self.assertEqual(removed.returncode, 0, removed.stderr)
        self.assertFalse(Path("/usr/bin/quorvel-cli").exists())
        self.assertNotEqual(run(["man", "-w", "quorvel-cli"]).returncode, 0)

    def test_lintian_reports_no_error(self):
        result = run(["lintian", "--tag-display-limit", "0", self.dist / DEB], timeout=600)
        errors = [line for line in result.stdout.splitlines() if line.startswith("E:")]
        self.assertEqual(errors, [], result.stdout)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)  # it fails on errors only
        print(result.stdout, file=sys.stderr)


if __name__ == "__main__":
    unittest.main()
