"""The installer under Wine's msiexec in the lab's PC namespace (the installed quorvel-cli.exe runs there;
winemenubuilder.exe is off, so the shortcut writes nothing outside the prefix): silent install, the version
with its third number raised over it, the older one refused, silent removal. Both installers are made by
tools/release_msi.py from the Windows build tree's programs, the second with only the version changed."""
import os
import shutil
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
NEWER = ".".join(str(int(n) + (i == 2)) for i, n in enumerate(VERSION.split(".")))  # the third number raised
WIN_BUILD = Path(os.environ.get("QUORVEL_WIN_BUILD", SOURCE / "build-win"))
UNINSTALL = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
PRODUCTS = r"HKLM\Software\Classes\Installer\Products"
ERROR_INSTALL_FAILURE = 1603 & 0xFF  # msiexec's exit code, as a Unix exit status holds it


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
        """Makes the two installers; msiexec runs in the test."""
        cls.tmp = tempfile.TemporaryDirectory(prefix="quorvel-msi-test-")
        files = {"quorvel.exe": WIN_BUILD / "app" / "quorvel.exe",
                 "quorvel-cli.exe": WIN_BUILD / "tools" / "cli" / "quorvel-cli.exe",
                 "README.txt": SOURCE / "packaging" / "README.txt", "LICENSE.txt": SOURCE / "LICENSE",
                 "quorvel.ico": SOURCE / "res" / "icons" / "quorvel.ico"}
        cls.msi = {version: Path(cls.tmp.name) / f"quorvel-{version}.msi" for version in (VERSION, NEWER)}
        for version, msi in cls.msi.items():
            subprocess.run([sys.executable, SOURCE / "tools" / "release_msi.py", msi, version,
                            *[f"{name}={path}" for name, path in files.items()]], check=True)

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
        shutil.copy(self.msi[version], self.wine.drive_c / "quorvel.msi")
        return self.run_wine("msiexec", action, r"C:\quorvel.msi", "/qn").returncode

    def registered(self, root, name_value):
        """The keys below root whose name_value is Quorvel, as a list of their values."""
        listed = self.run_wine("reg", "query", root, "/s").stdout
        return [values for values in registry_keys(listed).values() if values.get(name_value) == "Quorvel"]

    def files(self):
        return {p.relative_to(self.wine.drive_c) for p in self.wine.drive_c.rglob("*") if p.is_file()}

    def assert_installed(self, version):
        folder = self.wine.drive_c / "Program Files" / "Quorvel"
        self.assertEqual(sorted(p.name for p in folder.iterdir()),
                         ["LICENSE.txt", "README.txt", "quorvel-cli.exe", "quorvel.exe"])
        # Wine gives ProgramMenuFolder the user's Start menu even when the package installs for every user.
        links = list(self.wine.drive_c.rglob("Start Menu/Programs/Quorvel.lnk"))
        self.assertEqual(len(links), 1, links)
        link = links[0].read_bytes().replace(b"\0", b"").lower()
        self.assertIn(b"program files\\quorvel\\quorvel.exe", link)
        self.assertIn(b"quorvel.ico", link)
        entries = self.registered(UNINSTALL, "DisplayName")
        self.assertEqual([(e["DisplayVersion"], e["Publisher"]) for e in entries], [(version, "The Quorvel authors")])
        # The entry's icon is the product's, kept with the product's registration.
        icons = [p.get("ProductIcon", "") for p in self.registered(PRODUCTS, "ProductName")]
        self.assertEqual(len(icons), 1, icons)
        self.assertTrue(icons[0].lower().endswith("\\quorvel.ico"), icons)
        self.assertTrue((self.wine.drive_c / icons[0][3:].replace("\\", "/")).is_file(), icons)
        cli = self.run_wine(r"C:\Program Files\Quorvel\quorvel-cli.exe", "--version")
        self.assertEqual((cli.returncode, cli.stdout.strip()), (0, f"quorvel-cli {VERSION}"), cli.stderr)

    def test_install_upgrade_refused_downgrade_and_removal(self):
        before = self.files()
        self.assertEqual(self.msiexec("/i", VERSION), 0)
        self.assert_installed(VERSION)
        self.assertEqual(self.msiexec("/i", NEWER), 0)
        self.assert_installed(NEWER)
        # Refused by the launch condition (a silent install does not show its message).
        self.assertEqual(self.msiexec("/i", VERSION), ERROR_INSTALL_FAILURE)
        self.assert_installed(NEWER)
        self.assertEqual(self.msiexec("/x", NEWER), 0)
        self.assertEqual((self.registered(UNINSTALL, "DisplayName"), self.registered(PRODUCTS, "ProductName")),
                         ([], []))
        self.assertEqual({p for p in self.files() - before if p.name != "quorvel.msi"}, set())


if __name__ == "__main__":
    unittest.main()
