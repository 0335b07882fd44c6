"""The Windows installer under Wine's msiexec, inside the lab's PC namespace (the installed quorvel-cli.exe
runs there), with winemenubuilder.exe off so that the shortcut writes nothing outside the prefix. A silent
install puts the four files, the Start-menu shortcut and the installed programs' entry in place; the
version with its third number raised replaces it in place; the older one is then refused; a silent removal
leaves nothing behind. Both installers are made by tools/release_msi.py from the Windows build tree's
programs, the way tools/release.sh makes the release's, the second with only the version changed."""
import os
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

SOURCE = Path(os.environ.get("QUORVEL_SOURCE", Path(__file__).resolve().parents[2]))
sys.path.insert(0, str(SOURCE / "tools" / "lab"))
sys.path.insert(0, str(SOURCE / "tests" / "wine"))
from winelab import WINE_ENV, WineProgramCase  # noqa: E402

VERSION = os.environ["QUORVEL_VERSION"]
WIN_BUILD = Path(os.environ.get("QUORVEL_WIN_BUILD", SOURCE / "build-win"))
UNINSTALL = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
PRODUCTS = r"HKLM\Software\Classes\Installer\Products"
INSTALLED = ["LICENSE.txt", "README.txt", "quorvel-cli.exe", "quorvel.exe"]
ERROR_INSTALL_FAILURE = 1603 & 0xFF  # msiexec's exit code, as a Unix exit status holds it


def raised(version):
    numbers = version.split(".")
    numbers[2] = str(int(numbers[2]) + 1)
    return ".".join(numbers)


def build_msi(out, version):
    files = {"quorvel.exe": WIN_BUILD / "app" / "quorvel.exe",
             "quorvel-cli.exe": WIN_BUILD / "tools" / "cli" / "quorvel-cli.exe",
             "README.txt": SOURCE / "packaging" / "README.txt", "LICENSE.txt": SOURCE / "LICENSE",
             "quorvel.ico": SOURCE / "res" / "icons" / "quorvel.ico"}
    missing = [str(path) for path in files.values() if not path.exists()]
    if missing:
        raise RuntimeError(f"not built: {', '.join(missing)}")
    subprocess.run([sys.executable, SOURCE / "tools" / "release_msi.py", out, version,
                    *[f"{name}={path}" for name, path in files.items()]], check=True)


def registry_keys(text):
    """`reg query /s` output as {key: {value name: data}}."""
    keys, current = {}, None
    for line in text.splitlines():
        if line.startswith("HKEY_"):
            current = keys.setdefault(line.strip(), {})
        elif current is not None and line.startswith("    ") and line.strip():
            parts = line.strip().split(None, 2)
            current[parts[0]] = parts[2] if len(parts) == 3 else ""
    return keys


class InstallerUnderWine(WineProgramCase):
    tmp = None

    @classmethod
    def run_program(cls):
        """Makes the two installers; msiexec runs in the test itself."""
        cls.tmp = tempfile.TemporaryDirectory(prefix="quorvel-msi-test-")
        cls.msi = {version: Path(cls.tmp.name) / f"quorvel-{version}.msi" for version in (VERSION, raised(VERSION))}
        for version, msi in cls.msi.items():
            build_msi(msi, version)

    @classmethod
    def tearDownClass(cls):
        super().tearDownClass()
        if cls.tmp is not None:
            cls.tmp.cleanup()

    def run_wine(self, *argv):
        env = self.wine.env(WINEDLLOVERRIDES=WINE_ENV["WINEDLLOVERRIDES"] + ";winemenubuilder.exe=d")
        env.pop("DISPLAY", None)  # a silent install shows no window
        return self.lab.pc_run(["wine", *argv], env=env, timeout=600)

    def msiexec(self, action, version):
        """Runs msiexec silently on the installer of that version; returns (exit code, its log's text)."""
        (self.wine.drive_c / "quorvel.msi").write_bytes(self.msi[version].read_bytes())
        log = self.wine.drive_c / "msiexec.log"
        log.unlink(missing_ok=True)
        result = self.run_wine("msiexec", action, r"C:\quorvel.msi", "/qn", "/l*v", r"C:\msiexec.log")
        data = log.read_bytes() if log.exists() else b""
        text = data.decode("utf-16") if data[:2] == b"\xff\xfe" else data.decode(errors="replace")
        return result.returncode, text

    def registered(self, root, name_value):
        """The keys below root whose name_value is Quorvel: {key: values}."""
        listed = self.run_wine("reg", "query", root, "/s")
        return {key: values for key, values in registry_keys(listed.stdout).items()
                if values.get(name_value) == "Quorvel"}

    def entries(self):
        """The installed programs' entries of Quorvel."""
        return self.registered(UNINSTALL, "DisplayName")

    def files(self):
        return {p.relative_to(self.wine.drive_c) for p in self.wine.drive_c.rglob("*") if p.is_file()}

    @property
    def program_folder(self):
        return self.wine.drive_c / "Program Files" / "Quorvel"

    def assert_installed(self, version):
        self.assertEqual(sorted(p.name for p in self.program_folder.iterdir()), INSTALLED)
        self.assertEqual((self.program_folder / "quorvel.exe").read_bytes(),
                         (WIN_BUILD / "app" / "quorvel.exe").read_bytes())
        self.assertIn(b"\r\n", (self.program_folder / "README.txt").read_bytes())
        self.assert_shortcut()
        entries = list(self.entries().values())
        self.assertEqual(len(entries), 1, entries)
        self.assertEqual((entries[0]["DisplayVersion"], entries[0]["Publisher"]), (version, "The Quorvel authors"))
        self.assertTrue(entries[0].get("UninstallString", "").lower().startswith("msiexec"), entries[0])
        # The entry's icon is the product's, which Windows Installer keeps with the product's registration.
        products = list(self.registered(PRODUCTS, "ProductName").values())
        self.assertEqual(len(products), 1, products)
        icon = products[0].get("ProductIcon", "")
        self.assertTrue(icon.lower().endswith("\\quorvel.ico"), icon)
        self.assertTrue((self.wine.drive_c / icon[3:].replace("\\", "/")).is_file(), icon)
        cli = self.run_wine(r"C:\Program Files\Quorvel\quorvel-cli.exe", "--version")
        self.assertEqual((cli.returncode, cli.stdout.strip()), (0, f"quorvel-cli {VERSION}"), cli.stderr)

    def assert_shortcut(self):
        """One Start-menu shortcut "Quorvel" to the installed program, with the product's icon. (Wine gives
        ProgramMenuFolder the user's Start menu even when the package installs for every user.)"""
        links = list(self.wine.drive_c.rglob("Quorvel.lnk"))
        self.assertEqual(len(links), 1, links)
        self.assertIn("Start Menu/Programs", str(links[0]))
        text = links[0].read_bytes().replace(b"\0", b"").lower()
        self.assertIn(b"program files\\quorvel\\quorvel.exe", text)
        self.assertIn(b"quorvel.ico", text)

    def test_install_upgrade_refused_downgrade_and_removal(self):
        before = self.files()
        code, log = self.msiexec("/i", VERSION)
        self.assertEqual(code, 0, log[-3000:])
        self.assert_installed(VERSION)

        newer = raised(VERSION)
        code, log = self.msiexec("/i", newer)
        self.assertEqual(code, 0, log[-3000:])
        self.assert_installed(newer)

        # Refused by the launch condition, whose message a silent install does not show; its text is
        # checked in the package by test_release_msi.
        code, log = self.msiexec("/i", VERSION)
        self.assertEqual(code, ERROR_INSTALL_FAILURE, "an older version was installed over a newer one")
        self.assertIn("WIX_DOWNGRADE_DETECTED = ", log)
        self.assert_installed(newer)

        code, log = self.msiexec("/x", newer)
        self.assertEqual(code, 0, log[-3000:])
        self.assertEqual(self.entries(), {})
        self.assertEqual(self.registered(PRODUCTS, "ProductName"), {})
        self.assertFalse(self.program_folder.exists())
        left = {p for p in self.files() - before if p.name not in ("quorvel.msi", "msiexec.log")}
        self.assertEqual(left, set())


if __name__ == "__main__":
    unittest.main()
