"""Running the Windows build under Wine inside the lab.

A Wine prefix is prepared once per Wine version (wineboot takes seconds) and copied for every test,
so each test has a private prefix. The first Wine process of a copy starts inside the lab's PC
namespace: wineserver, which creates the sockets, then lives there, and the program sees the lab's
interfaces and nothing else. The copy and its wineserver are gone when the test ends."""
import fcntl
import os
import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path

WINE_ENV = {"WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="}
CACHE = Path(os.environ.get("QUORVEL_WINE_CACHE", "/var/tmp/quorvel-wine"))


def wine_version():
    return subprocess.run(["wine", "--version"], capture_output=True, text=True, check=True).stdout.strip()


def template_prefix():
    """The prepared prefix for this Wine version, made on first use (under a lock, for parallel tests)."""
    CACHE.mkdir(parents=True, exist_ok=True)
    template = CACHE / f"template-{wine_version().replace(' ', '_')}"
    with open(CACHE / "lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not (template / "system.reg").exists():
            shutil.rmtree(template, ignore_errors=True)
            env = dict(os.environ, WINEPREFIX=str(template), **WINE_ENV)
            env.pop("DISPLAY", None)
            subprocess.run(["wineboot", "-i"], env=env, check=True, timeout=600,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            subprocess.run(["wineserver", "-w"], env=env, timeout=120)
    return template


class WinePrefix:
    """A private copy of the template prefix; wineserver is ended and the copy removed on close."""

    def __init__(self):
        self.root = Path(tempfile.mkdtemp(prefix="quorvel-wine-"))
        self.path = self.root / "prefix"
        shutil.copytree(template_prefix(), self.path, symlinks=True)

    def env(self, **extra):
        env = dict(os.environ, WINEPREFIX=str(self.path), **WINE_ENV)
        env.update(extra)
        return env

    @property
    def drive_c(self):
        """The Unix folder that the prefix's programs see as C:\\."""
        return self.path / "drive_c"

    def close(self):
        subprocess.run(["wineserver", "-k"], env=self.env(), timeout=60,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shutil.rmtree(self.root, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


class WineProgramCase(unittest.TestCase):
    """A test class whose Windows program runs once for all its tests: setUpClass makes a one-net lab and a
    private prefix, then calls the class's run_program(); both are removed after the class, also when the
    set-up fails. The test module puts tools/lab on the path."""
    lab = None
    wine = None

    @classmethod
    def run_program(cls):
        raise NotImplementedError

    @classmethod
    def setUpClass(cls):
        from lab import Lab
        cls.lab = Lab(nets=1)
        try:
            cls.wine = WinePrefix()
            cls.run_program()
        except BaseException:
            cls.tearDownClass()
            raise

    @classmethod
    def tearDownClass(cls):
        if cls.wine is not None:
            cls.wine.close()
            cls.wine = None
        cls.lab.close()
