"""The win32 dialog backend on real windows: quorvel-framework-probe under Wine and Xvfb.

The probe drives every control wrapper, the dialog procedure's dispatch, child dialogs, a message box and
the end of the modal run, and prints what it observed as key=value lines; the tests here judge them. It
uses no network, but runs inside a lab namespace all the same, as every Wine program of ours does."""
import os
import sys
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parents[1] / "tools" / "lab"))
from guilab import Xvfb  # noqa: E402
from winelab import WineProgramCase  # noqa: E402

WIN_BUILD = Path(os.environ.get("QUORVEL_WIN_BUILD", HERE.parents[1] / "build-win"))
PROBE = WIN_BUILD / "tests" / "wine" / "framework_probe" / "quorvel-framework-probe.exe"
PROBE_TIMEOUT = 300


def parse(output):
    observed = {}
    for line in output.splitlines():
        key, sep, value = line.partition("=")
        if sep:
            observed[key.strip()] = value.strip()
    return observed


def run_probe(case, probe, *args):
    """Runs a probe program on its own Xvfb display; keeps its result and its key=value lines on the case."""
    if not probe.exists():
        raise RuntimeError(f"not built: {probe}")
    with Xvfb(case.lab, screen="1280x1024x24") as xvfb:  # the size Xvfb takes when given none
        env = case.wine.env(DISPLAY=xvfb.display, LANG="C.UTF-8", LC_ALL="C.UTF-8")
        case.result = case.lab.pc_run(["wine", probe, *args], env=env, timeout=PROBE_TIMEOUT)
    case.seen = parse(case.result.stdout)


class FrameworkProbe(WineProgramCase):
    @classmethod
    def run_program(cls):
        run_probe(cls, PROBE)

    def expect(self, expected):
        """Each key's observed value; missing keys show as None, so the whole group is compared at once."""
        self.assertEqual({key: self.seen.get(key) for key in expected}, expected)

    def test_probe_ran_to_its_end(self):
        self.assertEqual(self.result.returncode, 0, self.result.stderr)
        self.assertEqual(self.seen.get("done"), "1", self.result.stdout)

    def test_a_labelled_controls_accessible_object_keeps_one_identity(self):
        """Every interface of the named object leads back to it: IUnknown the same, IAccessible the name."""
        self.expect({"acc.name": "Pick", "acc.identity": "same"})
        self.assertIn("IOleWindow", self.seen.get("acc.faces", "").split(","))  # the window stays reachable

    def test_window_text_icon_and_charset(self):
        self.expect({"window.text": "Framework probe", "window.icon_big": "1", "window.icon_small": "1",
                     "window.charset": "0"})

    def test_font_replaced_and_freed_after_the_window(self):
        self.expect({"font.face": "Tahoma", "font.height": "13", "font.weight": "100",
                     "font.replaced_deleted": "1", "destroy.font_alive": "1", "run.font_deleted": "1"})

    def test_list_view_columns_rows_and_data(self):
        self.expect({
            "list.full_row": "1", "list.text_color": str(0x0000FF), "list.columns": "2",
            "list.insert_at_0": "0", "list.insert_past_end": "1", "list.insert_negative": "-1",
            "list.insert_front": "0", "list.count": "3", "list.rows": "first|alpha|beta|beta",
            "list.subitem": "192.0.2.1", "list.subitem_beyond": "", "list.text_missing_row": "",
            "list.long_text_length": "700", "list.data": "1", "list.data_missing_row": "0",
            "list.after_front_column": "alpha||192.0.2.1",
        })

    def test_list_view_selection_and_top_index(self):
        # The probe's list is single-selection: selecting row 2 clears row 1.
        self.expect({"list.selection": "101", "list.selection_cleared": "1", "list.top_index": "0",
                     "scroll.top_index_positive": "1", "scroll.count_after_delete": "0",
                     "scroll.top_index_after_delete": "0"})

    def test_combo_items_and_selection(self):
        # A drop-down list's text is its current item's; setting the text does nothing.
        self.expect({"combo.add": "01", "combo.count": "2", "combo.item": "Enable", "combo.item_missing": "",
                     "combo.cursel_initial": "-1", "combo.cursel": "1", "combo.text": "Enable",
                     "combo.text_after_set": "Enable", "combo.cursel_cleared": "-1", "combo.count_reset": "0"})

    def test_address_fields_blank_and_partly_filled(self):
        self.expect({"ip.blank_initial": "1", "ip.count": "4", "ip.fields": "192.0.2.44", "ip.blank_set": "0",
                     "ip.blank_cleared": "1", "ip.count_cleared": "0", "ip.fields_cleared": "0.0.0.0",
                     "ip.edit_fields": "4", "ip.count_partial": "1", "ip.fields_partial": "0.77.0.0",
                     "ip.blank_partial": "0"})

    def test_plain_item_state_and_visibility(self):
        # Visible means on screen: nothing is while the dialog itself is still hidden in OnInitDialog.
        self.expect({"item.id": "1003", "item.enabled_off": "0", "item.enabled_on": "1", "item.text": "Pressed",
                     "item.visible_while_hidden_dialog": "0", "screen.visible": "1", "screen.hidden": "1",
                     "screen.shown_again": "1"})

    def test_progress_bar_from_a_worker_and_check_state(self):
        self.expect({"progress.pos_after_worker": "100", "progress.pos_after_range": "10", "check.initial": "0",
                     "check.set": "1", "check.cleared": "0"})

    def test_focus(self):
        self.expect({"focus.combo": "1", "focus.after_disable": "none", "focus.ip_field": "2",
                     "focus.ip_field_none_blank": "0"})

    def test_commands_and_notifications_reach_the_dialog(self):
        # The address editor reports losing the focus (EN_KILLFOCUS) when the button takes it; a combo
        # changed from the keyboard sends CBN_SELENDOK, then CBN_SELCHANGE.
        self.expect({"timer.set": "1", "input.button": "command:1002:512,command:1003:0",
                     "input.combo": "command:1001:9,command:1001:1", "input.combo_cursel": "1",
                     "input.list": "click:1000", "input.list_selected": "010", "events.left": ""})

    def test_child_dialogs_end_every_way_with_one_destroy(self):
        self.expect({
            "child.escape": "2 OnCancel destroyed=1 detached=1 owner_disabled=1 owner_back=1",
            "child.enter": "1 OnOK destroyed=1 detached=1 owner_disabled=1 owner_back=1",
            "child.close": "2 OnCancel destroyed=1 detached=1 owner_disabled=1 owner_back=1",
            "child.end42": "42 none destroyed=1 detached=1 owner_disabled=1 owner_back=1",
            "child.destroy": "2 none destroyed=1 detached=1 owner_disabled=1 owner_back=1",
            "child.throw": "caught thrown by a handler destroyed=1",
            "child.missing_template": "-1",
        })

    def test_message_box_owned_by_the_dialog(self):
        self.expect({"box.found": "1", "box.owner_is_dialog": "1", "box.texts": "[][OK][Probe text]",
                     "box.result": "1"})

    def test_destroy_window_ends_the_top_level_run_once(self):
        self.expect({"run.result": "2", "run.destroy_count": "1", "run.detached": "1"})


if __name__ == "__main__":
    unittest.main()
