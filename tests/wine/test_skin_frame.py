"""The painted frame of quorvel.exe under Wine in the lab: the main window's picture, rounded outline (its
top pixel row shows the Xvfb root behind it), dragging by the background, the picture buttons' faces as
the mouse moves over, presses and slides off them, minimise and restore; the login dialog and the about
box with their dark pictures and white texts. Screenshots are kept as artefacts; faces are judged by
pixels against the bitmaps they come from."""
import sys
import time
import unittest

from console_driver import DEVICE_LIST, MAIN, REFRESH, TITLE, ConsoleCase, find_control, wait_until
from guilab import bitmap
from labtest import box, lab_port

ABOUT, MINIMISE = 1021, 1027
OK, CANCEL, USER_FIELD = 1, 2, 1016
BODY = (0xdf, 0xe3, 0xe8)   # the main window picture's light grey body
ICONIC_LEFT = -32000        # where Windows keeps a minimised window

STORE = box(1, "store", ports=[lab_port(0, 10)], shares=["Volume1", "Recycle Bin - Volume1"])
OTHER = box(2, "other", ports=[lab_port(0, 11)])

# What a desktop's window manager does with a window that asks to be minimised, then when the user
# restores it from the task bar: it sets the window's WM_STATE to IconicState (3), later to NormalState
# (1); Wine answers the second with SC_RESTORE. Arguments: display, X window, states. Run in the PC
# namespace, where the display is.
WM_STATE_SCRIPT = r"""
import ctypes, sys, time
x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XChangeProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int,
                                ctypes.c_int, ctypes.c_void_p, ctypes.c_int]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
display = x11.XOpenDisplay(sys.argv[1].encode())
if not display:
    sys.exit("cannot open the display")
wm_state = x11.XInternAtom(display, b"WM_STATE", 0)
x11.XFlush.argtypes = [ctypes.c_void_p]
for value in map(int, sys.argv[3].split(",")):
    state = (ctypes.c_long * 2)(value, 0)  # the state, no icon window
    x11.XChangeProperty(display, int(sys.argv[2]), wm_state, wm_state, 32, 0, state, 2)
    x11.XFlush(display)
    time.sleep(0.5)
x11.XCloseDisplay(display)
"""


def telling_point(normal, active, width, height):
    """The point of the part of two faces (rows of pixels) that a button shows where they differ most."""
    points = [(x, y) for y in range(min(height, len(normal))) for x in range(min(width, len(normal[y])))]
    return max(points, key=lambda p: sum(abs(a - b) for a, b in zip(normal[p[1]][p[0]], active[p[1]][p[0]])))


class SkinnedFrame(ConsoleCase):
    NETS = 1
    BOXES = {0: [STORE, OTHER]}
    SESSION = "skin-frame"

    def window_rect(self):
        return next(w["rect"] for w in self.gui.windows() if w["title"] == TITLE)

    def face_probe(self, window, control_id, normal, active):
        """A screen point of a button and what it shows there with each face (mode 0: the face at the
        button's top left)."""
        rect = find_control(window, control_id)["rect"]
        faces = bitmap(normal), bitmap(active)
        dx, dy = telling_point(*faces, rect["right"] - rect["left"], rect["bottom"] - rect["top"])
        return (rect["left"] + dx, rect["top"] + dy), faces[0][dy][dx], faces[1][dy][dx]

    def wait_pixel(self, point, colour, what):
        wait_until(lambda: self.gui.pixels([point], name="probe") == [colour], 20, what, interval=0.3)

    def assert_rounded_outline(self, rect, shot):
        """Row 0, the cut corners and the ends of the bottom row show the root behind; the body does not."""
        left, top, right, bottom = rect["left"], rect["top"], rect["right"], rect["bottom"]
        w = right - left
        outside = [(left + x, top) for x in (0, 1, 4, 5, w // 2, w - 6, w - 5, w - 1)]
        outside += [(left, top + 4), (left + 2, top + 1), (right - 1, top + 4), (right - 4, top + 1), (left, bottom - 1),
                    (left + 4, bottom - 1), (right - 5, bottom - 1)]
        inside = [(left + w // 2, top + 1), (left + 3, top + 1), (right - 4, top + 2), (left + 5, bottom - 1),
                  (right - 6, bottom - 1), (left, top + 5)]
        root = (1020, 760)  # no window reaches this corner of the screen
        colours = self.gui.pixels([root, *outside, *inside], name=shot)
        self.assertEqual(colours[1:1 + len(outside)], [colours[0]] * len(outside), "outside the outline")
        self.assertNotIn(colours[0], colours[1 + len(outside):], "inside the outline")

    def test_1_main_window_has_its_picture_and_rounded_outline(self):
        window = self.main()
        self.gui.screenshot("main-listed")
        self.assert_rounded_outline(window["rect"], "main-outline")
        client = window["clientRect"]
        body = self.gui.pixels([(client["left"] + 300, client["top"] + 318)], name="main-body")[0]
        self.assertTrue(all(abs(a - b) <= 3 for a, b in zip(body, BODY)), body)

    def test_2_login_dialog_is_dark_with_white_texts_and_standard_fields(self):
        before = len(self.requests(0, 102))
        self.gui.click_row(TITLE, DEVICE_LIST, self.row_of(DEVICE_LIST, "other"), **MAIN)
        login = self.gui.inspect("Login", timeout=60)
        (ok_point, ok_normal, _) = self.face_probe(login, OK, 306, 307)
        field = find_control(login, USER_FIELD)["rect"]
        client = login["clientRect"]
        label = next(c for c in login["controls"] if c["text"] == "User name :")["rect"]
        colours = self.gui.pixels([ok_point, (field["right"] - 4, field["bottom"] - 4),
                                   (client["left"] + 3, client["bottom"] - 3)], name="login")
        self.assertEqual(colours[0], ok_normal, "OK shows its normal face")
        self.assertEqual(colours[1], (255, 255, 255), "the user name field keeps the standard ground")
        self.assertLess(max(colours[2]), 90, "dark background")
        self.assertIn((255, 255, 255), self.colours_in(label, "login-label"), "white label text")
        self.gui.click_control("Login", CANCEL)
        self.gui.wait_window_gone("Login", timeout=30)
        self.assertEqual(len(self.requests(0, 102)), before, "Cancel sends no password check")

    def colours_in(self, rect, name):
        points = [(x, y) for x in range(rect["left"], rect["right"]) for y in range(rect["top"], rect["bottom"])]
        return set(self.gui.pixels(points, name=name))

    def test_3_a_box_is_selected(self):
        self.select_box(0, "store", "secret", ["Volume1"])
        self.gui.screenshot("main-selected")

    def test_4_about_box_is_dark_with_white_texts(self):
        self.gui.click_control(TITLE, ABOUT, **MAIN)
        about = self.gui.inspect("About Quorvel", timeout=60)
        (ok_point, ok_normal, _) = self.face_probe(about, OK, 306, 307)
        client = about["clientRect"]
        colours = self.gui.pixels([ok_point, (client["left"] + 3, client["bottom"] - 3)], name="about")
        self.assertEqual(colours[0], ok_normal)
        self.assertLess(max(colours[1]), 90, "dark background")
        name = next(c for c in about["controls"] if c["text"] == "Quorvel")["rect"]
        self.assertIn((255, 255, 255), self.colours_in(name, "about-name"), "white product name")
        self.gui.click_control("About Quorvel", OK)
        self.gui.wait_window_gone("About Quorvel", timeout=30)

    def test_5_hover_shows_the_over_face_and_leaving_restores_the_normal_one(self):
        point, normal, over = self.face_probe(self.main(), REFRESH, 284, 285)
        self.assertNotEqual(normal, over)
        self.wait_pixel(point, normal, "the normal face")
        self.gui.xdotool("mousemove", "--sync", *point)
        self.wait_pixel(point, over, "the over face")
        self.gui.xdotool("mousemove", "--sync", point[0], point[1] - 30)  # onto the background above
        self.wait_pixel(point, normal, "the normal face after leaving")

    def drag(self, start, offset, steps=5, check_held=None):
        """Presses at start, moves by offset in steps and releases; check_held() runs while held there."""
        self.gui.xdotool("mousemove", "--sync", *start, "mousedown", 1)
        try:
            for step in range(1, steps + 1):
                self.gui.xdotool("mousemove", "--sync", start[0] + offset[0] * step // steps,
                                 start[1] + offset[1] * step // steps)
                time.sleep(0.05)
            if check_held:
                check_held()
        finally:
            self.gui.xdotool("mouseup", 1)

    def test_6_dragging_the_background_moves_the_window(self):
        before = self.window_rect()
        self.drag((before["left"] + 300, before["top"] + 200), (40, 30))
        moved = {k: v + (40 if k in ("left", "right") else 30) for k, v in before.items()}
        wait_until(lambda: self.window_rect() == moved, 20, f"the window moved to {moved}")
        self.gui.screenshot("main-dragged")

    def test_7_a_pressed_button_follows_the_mouse_a_double_click_during_its_search_is_dropped_and_dragging_moves_nothing(self):
        before = self.window_rect()
        searches = len(self.requests(0, 101))
        point, normal, down = self.face_probe(self.main(), REFRESH, 284, 285)
        off = (point[0], point[1] - 30)

        def slide():
            self.wait_pixel(point, normal, "the normal face while the mouse is off the button")
            self.gui.xdotool("mousemove", "--sync", *point)
            self.wait_pixel(point, down, "the down face back on the button")
            self.gui.xdotool("mousemove", "--sync", *off)
            self.wait_pixel(point, normal, "the normal face off the button again")

        self.gui.xdotool("mousemove", "--sync", *point, "mousedown", 1)
        try:
            self.wait_pixel(point, down, "the down face while pressed")
        finally:
            self.gui.xdotool("mouseup", 1)
        self.gui.xdotool("click", "--repeat", 2, "--delay", 100, 1)  # while the click's search runs
        searches += 1  # the press released on the button clicked it; the double click meanwhile is dropped
        self.wait_for_search_count(searches)
        self.drag(point, (0, -30), check_held=slide)
        time.sleep(3)  # a click would have started a search by now (the double click's too)
        self.assertEqual(len(self.requests(0, 101)), searches, "released off the button: no click")
        self.assertEqual(self.window_rect(), before, "the window stays")

    def wait_for_search_count(self, count):
        wait_until(lambda: len(self.requests(0, 101)) >= count, 30, f"search {count}")
        wait_until(lambda: find_control(self.main(), REFRESH)["enabled"], 60, "the search's end")

    def window_manager_sets_state(self, x_window, state):
        result = self.lab.pc_run([sys.executable, "-c", WM_STATE_SCRIPT, self.gui.display, x_window, str(state)],
                                 env=self.gui.x_env(), timeout=60)
        self.assertEqual(result.returncode, 0, result.stderr)

    def test_8_minimise_and_restore_keep_the_outline(self):
        before = self.window_rect()
        found = self.gui.xdotool("search", "--name", f"^{TITLE}$").split()
        self.assertEqual(len(found), 1, "the main window's X window")
        self.gui.click_control(TITLE, MINIMISE, **MAIN)
        wait_until(lambda: self.window_rect()["left"] == ICONIC_LEFT, 20, "the window minimised")
        self.window_manager_sets_state(found[0], 3)
        self.window_manager_sets_state(found[0], 1)
        wait_until(lambda: self.window_rect() == before, 20, "the window restored")
        self.gui.screenshot("main-restored")
        self.assert_rounded_outline(before, "restored-outline")

if __name__ == "__main__":
    unittest.main()
