"""Driving a Windows program's windows under Wine inside the lab.

Xvfb runs in the lab's PC namespace on a free display. A GuiSession gives the program a private Wine
prefix whose wineserver starts in that namespace, runs it there on that display, reads its windows with
quorvel-winread.exe (JSON), clicks and types with xdotool, and saves screenshots for people to look at.
close() (or the with block) ends the program, the wineserver, Xvfb and the prefix, also after a failure.

    with GuiSession(lab, exe, name="about-box") as gui:
        gui.wait_for_window("Quorvel")
        gui.click_control("Quorvel", 1021)
        gui.screenshot("about")
"""
import fcntl
import json
import os
import signal
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

from winelab import WinePrefix

REPO = Path(__file__).resolve().parents[2]
WIN_BUILD = Path(os.environ.get("QUORVEL_WIN_BUILD", REPO / "build-win"))
WINREAD_EXE = WIN_BUILD / "tools" / "winread" / "quorvel-winread.exe"
QUORVEL_EXE = WIN_BUILD / "app" / "quorvel.exe"
X11_SOCKETS = Path("/tmp/.X11-unix")
LOCK_DIR = Path("/tmp")
CLAIM_LOCK = LOCK_DIR / "quorvel-display-claim.lock"  # one file every session's picker locks
FIRST_DISPLAY = 20
LAST_DISPLAY = 999
SCREEN = "1024x768x24"
XVFB_TIMEOUT = 30.0
WINE_TIMEOUT = 120.0      # a Wine process start (the first one of a prefix boots it)
STOP_GRACE = 5.0


class GuiError(RuntimeError):
    pass


# The pointer's picture as the X server shows it (XFixes), which screenshots leave out: written to the
# path given as a PAM file with alpha; prints where its top-left corner is on the screen. Arguments:
# display, path. Run in the PC namespace, where the display is.
POINTER_SCRIPT = r"""
import ctypes, sys
class Image(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong))]
x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
xfixes = ctypes.cdll.LoadLibrary("libXfixes.so.3")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(Image)
xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
display = x11.XOpenDisplay(sys.argv[1].encode())
if not display:
    sys.exit("cannot open the display")
image = xfixes.XFixesGetCursorImage(display).contents
data = bytearray()
for i in range(image.width * image.height):
    p = image.pixels[i]  # premultiplied ARGB
    data += bytes(((p >> 16) & 255, (p >> 8) & 255, p & 255, (p >> 24) & 255))
header = f"P7\nWIDTH {image.width}\nHEIGHT {image.height}\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n"
with open(sys.argv[2], "wb") as out:
    out.write(header.encode() + bytes(data))
print(image.x - image.xhot, image.y - image.yhot)
"""


def artefacts_dir():
    path = Path(os.environ.get("QUORVEL_ARTEFACTS", REPO / "build" / "test-artefacts"))
    path.mkdir(parents=True, exist_ok=True)
    return path


def display_in_use(number, sockets=X11_SOCKETS, locks=LOCK_DIR):
    return (sockets / f"X{number}").exists() or (locks / f".X{number}-lock").exists()


def lock_holder(number, locks=LOCK_DIR):
    """The process id written in the display's lock file, or None while there is none (or it is half written)."""
    try:
        return int((locks / f".X{number}-lock").read_text().strip())
    except (OSError, ValueError):
        return None


def free_display(start=FIRST_DISPLAY, sockets=X11_SOCKETS, locks=LOCK_DIR):
    """The first display number from start on with neither a socket nor a lock file."""
    for number in range(start, LAST_DISPLAY + 1):
        if not display_in_use(number, sockets, locks):
            return number
    raise GuiError(f"no free X display number in {start}..{LAST_DISPLAY}")


def stop_process(proc, grace=STOP_GRACE):
    """SIGTERM to its process group, SIGKILL if it has not gone after the grace."""
    for sig in (signal.SIGTERM, signal.SIGKILL):
        if proc.poll() is not None:
            return
        try:
            os.killpg(proc.pid, sig)
        except (ProcessLookupError, PermissionError):
            try:
                proc.send_signal(sig)
            except ProcessLookupError:
                return
        try:
            proc.wait(timeout=grace)
        except subprocess.TimeoutExpired:
            pass


class Xvfb:
    """A virtual X server inside the lab's PC namespace, on a display number that this run has proven its own.

    Sessions that start at once must never share a screen (one pointer, one focus: keys typed by one would land
    in the other's windows). So a number is chosen and its server started under an exclusive lock on one
    shared file, and the number is ours only when our Xvfb is alive and the display's lock file names it."""

    ATTEMPTS = 5  # a stale server or lock file of someone outside the picker can still hold a number

    def __init__(self, lab, screen=SCREEN, timeout=XVFB_TIMEOUT):
        self._proc = None
        self._log = tempfile.NamedTemporaryFile(prefix="quorvel-xvfb-", suffix=".log")
        try:
            with open(CLAIM_LOCK, "a") as claim:
                fcntl.lockf(claim, fcntl.LOCK_EX)  # held until our server is up; closing the file lets it go
                number = FIRST_DISPLAY
                for _ in range(self.ATTEMPTS):
                    number = free_display(number)
                    if self._start(lab, number, screen, timeout):
                        self.number = number
                        self.display = f":{number}"
                        print(f"xvfb: display {self.display}, process {self._proc.pid}",
                              file=sys.stderr, flush=True)
                        return
                    number += 1
            raise GuiError(f"Xvfb found no display of its own; its last words:\n{self.log_text()}")
        except BaseException:
            self.close()
            raise

    def _start(self, lab, number, screen, timeout):
        """True once our Xvfb is up on the number: alive, the lock file naming it, the socket made. False (and
        our Xvfb stopped) when the number turns out to be someone else's."""
        self._log.truncate(0)
        # No key repeat: on a loaded machine a key's release can come late enough for the server to repeat
        # the key, and a repeated Enter lands on whatever window is under the focus next.
        # `ip netns exec` becomes Xvfb, so the started process's id is the server's.
        self._proc = lab.pc_exec(["Xvfb", f":{number}", "-nolisten", "tcp", "-r", "-screen", "0", screen],
                                 stdin=subprocess.DEVNULL, stdout=self._log, stderr=subprocess.STDOUT)
        socket = X11_SOCKETS / f"X{number}"
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if self._proc.poll() is not None:
                if "already active" in self.log_text():
                    return False
                raise GuiError(f"Xvfb :{number} exited with {self._proc.returncode}:\n{self.log_text()}")
            holder = lock_holder(number)
            if holder is not None and holder != self._proc.pid:
                stop_process(self._proc)
                return False
            if holder == self._proc.pid and socket.exists():
                return True
            time.sleep(0.02)
        stop_process(self._proc)
        raise GuiError(f"Xvfb :{number} was not up within {timeout} s:\n{self.log_text()}")

    def log_text(self):
        try:
            return Path(self._log.name).read_text(errors="replace")
        except OSError:
            return ""

    def close(self):
        if self._proc is not None:
            stop_process(self._proc)
            self._proc = None
        self._log.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


class GuiSession:
    """One Windows program under Wine in the lab's PC namespace, with its own prefix and display.

    display: an X display to use (for example the host's); None starts a private Xvfb.
    name: prefixes the artefacts (program log, screenshots) of this session.
    prepare: called with the session once its prefix is up and before the program starts (registry
    values, files in the prefix, connections the program should find).
    locale: a Unix locale (for example "ja_JP.UTF-8") for every Wine process of the session; Wine takes
    its ANSI code page from it. None keeps the caller's."""

    def __init__(self, lab, exe, args=(), name="gui", display=None, inspect_exe=None, prepare=None, locale=None):
        self.lab = lab
        self.name = name
        self.locale = locale
        self.artefacts = artefacts_dir()
        self.inspect_exe = Path(inspect_exe or WINREAD_EXE)
        self.xvfb = None
        self.prefix = None
        self.proc = None
        self._program_log = None
        for path in (Path(exe), self.inspect_exe):
            if not path.is_file():
                raise GuiError(f"not built: {path}")
        try:
            started = time.monotonic()
            if display is None:
                self.xvfb = Xvfb(lab)
                display = self.xvfb.display
            self.display = display
            self.prefix = WinePrefix()
            self._boot_wine()
            if prepare is not None:
                prepare(self)
            self.program_log_path = self.artefacts / f"{name}-program.log"
            self._program_log = open(self.program_log_path, "wb")
            self.proc = lab.pc_exec(["wine", exe, *args], env=self.env(), stdin=subprocess.DEVNULL,
                                    stdout=self._program_log, stderr=subprocess.STDOUT)
            self.setup_seconds = time.monotonic() - started
        except BaseException:
            self.close()
            raise

    def _boot_wine(self):
        """wineserver first, inside the PC namespace; then one Wine process that brings up the prefix's
        services and desktop, with its output in a log file: those daemons keep the standard handles of
        the process that started them, which must not be a pipe someone waits on."""
        wine_log = self.artefacts / f"{self.name}-wine.log"
        with open(wine_log, "wb") as log:
            result = self.lab.pc_run(["wineserver", "-p"], env=self.env(), stdout=log, stderr=log,
                                     timeout=WINE_TIMEOUT, text=False)
            if result.returncode != 0:
                raise GuiError(f"wineserver did not start ({result.returncode}); see {wine_log}")
            result = self.lab.pc_run(["wine", self.inspect_exe, "--list"], env=self.env(), stdout=subprocess.DEVNULL,
                                     stderr=log, timeout=WINE_TIMEOUT, text=False)
            if result.returncode != 0:
                raise GuiError(f"the first Wine process failed ({result.returncode}); see {wine_log}")

    def env(self, **extra):
        if self.locale:
            extra = dict(LANG=self.locale, LC_ALL=self.locale, **extra)
        return self.prefix.env(DISPLAY=self.display, **extra)

    def x_env(self):
        return dict(os.environ, DISPLAY=self.display)

    # ---- the inspector

    def run_inspector(self, *args, timeout=WINE_TIMEOUT):
        """Runs quorvel-winread.exe in the session; returns (exit code, stdout, stderr). Output goes
        through files, so a process that inherits the handles cannot hold the answer back."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            result = self.lab.pc_run(["wine", self.inspect_exe, *map(str, args)], env=self.env(),
                                     stdout=out, stderr=err, timeout=timeout, text=False)
            out.seek(0)
            err.seek(0)
            return result.returncode, out.read().decode(), err.read().decode(errors="replace")

    @staticmethod
    def _match_args(cls, with_control, hidden):
        args = ["--class", cls] if cls else []
        if with_control is not None:
            args += ["--with-control", with_control]
        return args + (["--hidden"] if hidden else [])

    def inspect(self, title, cls=None, with_control=None, hidden=False, timeout=0, names=False):
        """The window titled exactly `title`, with its controls, as the inspector's JSON (a dict).
        timeout: seconds to wait for the window first. names: each control with its accessible name
        ("accName", None when it has none)."""
        code, out, err = self.run_inspector("--title", title, "--timeout", timeout,
                                            *self._match_args(cls, with_control, hidden),
                                            *(["--names"] if names else []),
                                            timeout=timeout + WINE_TIMEOUT)
        if code != 0:
            raise GuiError(f"inspecting '{title}' failed ({code}): {err.strip()}")
        return json.loads(out)

    def windows(self, hidden=False):
        """The visible top-level windows (all of them with hidden=True): title, class, rect, pid."""
        code, out, err = self.run_inspector("--list", *(["--hidden"] if hidden else []))
        if code != 0:
            raise GuiError(f"listing the windows failed ({code}): {err.strip()}")
        return json.loads(out)

    def wait_for_window(self, title, timeout=60, cls=None, with_control=None, hidden=False):
        """Waits until a window titled `title` exists (a visible one unless hidden); returns its summary."""
        code, out, err = self.run_inspector("--wait-title", title, "--timeout", timeout,
                                            *self._match_args(cls, with_control, hidden),
                                            timeout=timeout + WINE_TIMEOUT)
        if code != 0:
            state = "" if self.proc.poll() is None else f"; the program exited with {self.proc.returncode}"
            raise GuiError(f"no window '{title}' within {timeout} s{state} {err.strip()}")
        return json.loads(out)

    def wait_window_gone(self, title, timeout=60, cls=None, with_control=None):
        code, _, err = self.run_inspector("--wait-gone", title, "--timeout", timeout,
                                          *self._match_args(cls, with_control, False),
                                          timeout=timeout + WINE_TIMEOUT)
        if code != 0:
            raise GuiError(f"window '{title}' still there after {timeout} s {err.strip()}")

    def command(self, title, control_id, timeout=30):
        """Posts a click of button `control_id` (WM_COMMAND with BN_CLICKED) to the main window titled
        `title` (the one with the device list, control 1000), as a click on the button would; reaches
        buttons that are hidden. Returns at once: the handler runs in the program's own time."""
        code, _, err = self.run_inspector("--command", title, control_id, "--timeout", timeout,
                                          timeout=timeout + WINE_TIMEOUT)
        if code != 0:
            raise GuiError(f"posting command {control_id} to '{title}' failed ({code}): {err.strip()}")

    def control(self, title, control_id, **match):
        """One direct control of the window, by its id."""
        return find_control(self.inspect(title, **match), control_id)

    # ---- other Wine programs of the session, and its registry

    def run_wine(self, *args, timeout=WINE_TIMEOUT):
        """Runs a Wine program of the session to its end; returns (exit code, stdout, stderr). Output goes
        through files, as for the inspector."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            result = self.lab.pc_run(["wine", *map(str, args)], env=self.env(), stdout=out, stderr=err,
                                     timeout=timeout, text=False)
            out.seek(0)
            err.seek(0)
            return result.returncode, out.read().decode(errors="replace"), err.read().decode(errors="replace")

    def reg_add(self, key, value, data, kind="REG_SZ"):
        """Sets a registry value of the session's prefix (value None: the key's default value)."""
        name = ["/ve"] if value is None else ["/v", value]
        code, out, err = self.run_wine("reg", "add", key, *name, "/t", kind, "/d", data, "/f")
        if code != 0:
            raise GuiError(f"reg add {key} failed ({code}): {(out + err).strip()}")

    def reg_query(self, key, value=None):
        """The data of a registry value as reg shows it, or None when the key or value is missing."""
        name = ["/ve"] if value is None else ["/v", value]
        code, out, _ = self.run_wine("reg", "query", key, *name)
        if code != 0:
            return None
        for line in out.splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) >= 2 and parts[1].startswith("REG_"):
                return parts[2] if len(parts) == 3 else ""
        return None

    # ---- input

    def xdotool(self, *args):
        result = self.lab.pc_run(["xdotool", *map(str, args)], env=self.x_env(), timeout=60)
        if result.returncode != 0:
            raise GuiError(f"xdotool {' '.join(map(str, args))}: {result.stderr.strip()}")
        return result.stdout

    def click(self, x, y, button=1):
        self.xdotool("mousemove", "--sync", x, y, "click", button)

    def idle(self, title, timeout=60, **match):
        """The window, as inspect gives it, once no busy work of its runs: the program drops input meanwhile,
        so a click that means to act waits for this."""
        deadline = time.monotonic() + timeout
        while (window := self.inspect(title, **match)).get("busy"):
            if time.monotonic() > deadline:
                raise GuiError(f"'{title}' still busy after {timeout} s")
            time.sleep(0.1)
        return window

    def click_control(self, title, control_id, x_fraction=0.5, y_fraction=0.5, **match):
        """Clicks a control at a point of its rectangle (the centre by default), once the window is idle;
        returns the point."""
        control = find_control(self.idle(title, **match), control_id)
        if not control["visible"]:
            raise GuiError(f"control {control_id} of '{title}' is not visible")
        x, y = point_in(control["rect"], x_fraction, y_fraction)
        self.click(x, y)
        return x, y

    def click_row(self, title, control_id, row, **match):
        """Clicks the middle of a list view's row, which must be scrolled into view, once the window is idle."""
        control = find_control(self.idle(title, **match), control_id)
        x, y = point_in(row_rect(control, row), 0.5, 0.5)
        self.click(x, y)
        return x, y

    def key(self, *names):
        """Presses keys by X name: "Return", "Escape", "Tab", "ctrl+a". There is no window manager, so
        the X focus follows the pointer: keys reach the program while the pointer is over one of its
        windows (as after a click); Wine passes them on to its own focus window."""
        self.xdotool("key", "--delay", 50, *names)

    def type_text(self, text):
        """Types text as key presses (as key() says where they go); ASCII is what the keymap has."""
        self.xdotool("type", "--delay", 50, "--", text)

    # ---- evidence

    def screenshot(self, name):
        """Saves the whole screen as <artefacts>/<session>-<name>.png and returns the path."""
        return self.save_screenshot(self.artefacts / f"{self.name}-{name}.png")

    def save_screenshot(self, path, settle_timeout=10.0):
        """Saves the screen once it has settled: Wine paints a new window's controls bit by bit, so
        shots are taken until two in a row are the same (or the time is up)."""
        path = Path(path)
        end = time.monotonic() + settle_timeout
        previous = None
        while True:
            path.unlink(missing_ok=True)
            result = self.lab.pc_run(["import", "-window", "root", path], env=self.x_env(), timeout=60)
            if result.returncode != 0 or not path.exists():
                raise GuiError(f"screenshot failed: {result.stderr.strip()}")
            current = path.read_bytes()
            if current == previous or time.monotonic() > end:
                return path
            previous = current
            time.sleep(0.3)

    def screenshot_with_pointer(self, name):
        """The screen as it is now (not waiting for it to settle), with the pointer drawn in, as
        <artefacts>/<session>-<name>.png; for a person to look at the pointer's shape."""
        path = self.artefacts / f"{self.name}-{name}.png"
        with tempfile.TemporaryDirectory() as folder:
            screen, pointer = Path(folder) / "screen.png", Path(folder) / "pointer.pam"
            where = self.lab.pc_run([sys.executable, "-c", POINTER_SCRIPT, self.display, pointer], env=self.x_env())
            shot = self.lab.pc_run(["import", "-window", "root", screen], env=self.x_env(), timeout=60)
            if where.returncode != 0 or shot.returncode != 0:
                raise GuiError(f"screenshot with the pointer failed: {where.stderr.strip()} {shot.stderr.strip()}")
            x, y = (max(0, int(v)) for v in where.stdout.split())
            result = self.lab.pc_run(["convert", screen, pointer, "-geometry", f"+{x}+{y}", "-composite", path],
                                     env=self.x_env(), timeout=60)
            if result.returncode != 0:
                raise GuiError(f"drawing the pointer in failed: {result.stderr.strip()}")
        return path

    def pixels(self, points, name="pixels"):
        """The colours (r, g, b) of screen points [(x, y), ...], read from a settled screenshot that is kept
        as <artefacts>/<session>-<name>.png."""
        path = self.screenshot(name)
        formats = []
        for x, y in points:
            formats.append(f"%[pixel:p{{{int(x)},{int(y)}}}]\\n")
        result = self.lab.pc_run(["convert", path, "-depth", "8", "-format", "".join(formats), "info:"],
                                 env=self.x_env(), timeout=60)
        if result.returncode != 0:
            raise GuiError(f"reading pixels failed: {result.stderr.strip()}")
        return [parse_colour(line) for line in result.stdout.split()]

    def wait_exit(self, timeout=60):
        """Waits for the program to end; returns its exit code."""
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise GuiError(f"the program is still running after {timeout} s") from None

    # ---- teardown

    def close(self):
        """Ends the program and the prefix's wineserver, removes the prefix, stops Xvfb. Safe to repeat.
        Interrupts wait until it is done, so a second Ctrl-C cannot leave half of it behind."""
        masked = threading.current_thread() is threading.main_thread()
        if masked:
            old_mask = signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGINT, signal.SIGTERM, signal.SIGHUP})
        try:
            self._close()
        finally:
            if masked:
                signal.pthread_sigmask(signal.SIG_SETMASK, old_mask)

    def _close(self):
        try:
            if self.prefix is not None:
                self.prefix.close()  # wineserver -k ends every Wine process of the prefix, the program too
                self.prefix = None
        finally:
            try:
                if self.proc is not None:
                    stop_process(self.proc)
            finally:
                if self._program_log is not None:
                    self._program_log.close()
                    self._program_log = None
                if self.xvfb is not None:
                    self.xvfb.close()
                    self.xvfb = None

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False


# ---- reading the inspector's JSON

ART = REPO / "res" / "art"
sys.path.insert(0, str(REPO / "tests" / "art"))
import png_pixels  # noqa: E402  (the reader of the skin's pictures, beside their own test)


def bitmap(number, scale=100):
    """A picture of the program's skin (res/art/<scale>/NNN_*.png) as rows of (r, g, b), top row first."""
    _, _, rows = png_pixels.pixels(next((ART / str(scale)).glob(f"{number}_*.png")).read_bytes())
    return [[tuple(row[x:x + 3]) for x in range(0, len(row), 3)] for row in rows]


def parse_colour(text):
    """ImageMagick's "srgb(r,g,b)", "rgb(...)" or a colour name for black and white, as (r, g, b)."""
    names = {"black": (0, 0, 0), "white": (255, 255, 255)}
    if text in names:
        return names[text]
    inner = text[text.index("(") + 1:text.rindex(")")]
    return tuple(int(round(float(v.rstrip("%")) * (2.55 if v.endswith("%") else 1))) for v in inner.split(",")[:3])


def find_control(window, control_id):
    for control in window["controls"]:
        if control["id"] == control_id and not control["nested"]:
            return control
    raise GuiError(f"window '{window['title']}' has no control {control_id}")


def point_in(rect, x_fraction, y_fraction):
    x = rect["left"] + int((rect["right"] - rect["left"]) * x_fraction)
    y = rect["top"] + int((rect["bottom"] - rect["top"]) * y_fraction)
    return x, y


def row_rect(list_view, row):
    """The row's screen rectangle; a row outside the list's visible area cannot be clicked."""
    rect = list_view["rowRects"][row]
    outer = list_view["rect"]
    if rect["top"] < outer["top"] or rect["bottom"] > outer["bottom"]:
        raise GuiError(f"row {row} of list {list_view['id']} is scrolled out of view")
    return rect

