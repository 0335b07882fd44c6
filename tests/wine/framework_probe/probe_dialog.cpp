#include "probe_dialog.h"

#include <algorithm>
#include <stdexcept>
#include <thread>
#include <utility>

#include "framework/win32/win32_host.h"
#include "probe_accessible.h"
#include "probe_child.h"
#include "probe_ids.h"
#include "probe_report.h"

namespace probe {

namespace ui = quorvel::ui;

namespace {

constexpr int kStartTimer = 1;
constexpr int kAnswerTimer = 2;
constexpr char kBoxCaption[] = "Probe box";

std::string Join(const ui::IpAddressEdit::Fields& f) {
  return std::to_string(f[0]) + "." + std::to_string(f[1]) + "." + std::to_string(f[2]) + "." + std::to_string(f[3]);
}

// The address editor's four edit fields, left to right.
std::vector<HWND> AddressFields(HWND editor) {
  std::vector<std::pair<LONG, HWND>> found;
  for (HWND child = ::GetWindow(editor, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    found.emplace_back(rect.left, child);
  }
  std::sort(found.begin(), found.end());
  std::vector<HWND> fields;
  for (const auto& entry : found) fields.push_back(entry.second);
  return fields;
}

// Which field holds the focus, or -1.
int FocusedField(HWND editor) {
  const std::vector<HWND> fields = AddressFields(editor);
  auto focused = std::find(fields.begin(), fields.end(), ::GetFocus());
  return focused == fields.end() ? -1 : static_cast<int>(focused - fields.begin());
}

// As a user typing into one field would leave it.
void TypeIntoField(HWND editor, size_t field, const char* text) {
  const std::vector<HWND> fields = AddressFields(editor);
  if (field < fields.size()) ::SetWindowTextA(fields[field], text);
}

}  // namespace

ProbeDialog::ProbeDialog() : ui::Dialog(IDD_PROBE) {}

HWND ProbeDialog::Window() { return static_cast<ui::Win32Host&>(host()).window(); }

std::string ProbeDialog::TakeEvents() {
  std::string joined;
  for (const std::string& e : events_) joined += (joined.empty() ? "" : ",") + e;
  events_.clear();
  return joined;
}

bool ProbeDialog::OnInitDialog() {
  ProbeWindow();
  ProbeList();
  ProbeCombo();
  ProbeAddress();
  ProbeItem();
  Report("timer.set", host().SetTimer(kStartTimer, 50));
  return true;
}

void ProbeDialog::OnCommand(int id, int code) {
  events_.push_back("command:" + std::to_string(id) + ":" + std::to_string(code));
}

void ProbeDialog::OnNotify(int id, int code) {
  if (code == ui::NM_CLICK) events_.push_back("click:" + std::to_string(id));
}

void ProbeDialog::OnTimer(int id) {
  if (id == kAnswerTimer) {
    AnswerMessageBox();
    return;
  }
  if (id != kStartTimer) return;
  host().KillTimer(kStartTimer);
  ProbeOnScreen();
  ProbeAccessibleIdentity(ControlWindow(IDC_COMBO));
  ProbeProgressAndCheck();
  ProbeInput();
  ProbeChildren();
  ProbeMessageBox();
  Report("events.left", TakeEvents());
  host().DestroyWindow();
}

void ProbeDialog::OnDestroy() {
  ++destroyCount_;
  Report("destroy.font_alive", ::GetObjectType(listFont_) == OBJ_FONT);
}

void ProbeDialog::ProbeWindow() {
  host().SetWindowText("Framework probe");
  Report("window.text", ui::WindowText(Window()));
  host().SetIcon(IDI_PROBE);
  Report("window.icon_big", ::SendMessageA(Window(), WM_GETICON, ICON_BIG, 0) != 0);
  Report("window.icon_small", ::SendMessageA(Window(), WM_GETICON, ICON_SMALL, 0) != 0);
  Report("window.charset", host().TextCharset());
}

void ProbeDialog::ProbeList() {
  ui::ListView& list = host().List(IDC_LIST);
  HWND window = ControlWindow(IDC_LIST);
  list.SetFullRowSelect();
  Report("list.full_row", (::SendMessageA(window, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT) != 0);
  list.SetTextColor(0x0000FF);
  Report("list.text_color", static_cast<long long>(::SendMessageA(window, LVM_GETTEXTCOLOR, 0, 0)));

  list.SetFont(ui::FontDescription{"Courier New", 20, 700, 0});
  auto replaced = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
  list.SetFont(ui::FontDescription{"Tahoma", 13, 100, 0});
  listFont_ = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
  Report("font.replaced_deleted", ::GetObjectType(replaced) == 0);
  LOGFONTA font{};
  ::GetObjectA(listFont_, sizeof font, &font);
  Report("font.face", font.lfFaceName);
  Report("font.height", static_cast<int>(font.lfHeight));
  Report("font.weight", static_cast<int>(font.lfWeight));

  list.InsertColumn(0, "Name", 94);
  list.InsertColumn(7, "IP", 85);  // past the end: appended
  Report("list.columns", list.ColumnCount());
  Report("list.insert_at_0", list.InsertItem(0, "alpha"));
  Report("list.insert_past_end", list.InsertItem(9, "beta"));
  Report("list.insert_negative", list.InsertItem(-1, "gamma"));
  Report("list.insert_front", list.InsertItem(0, "first"));
  Report("list.count", list.ItemCount());
  list.SetItemText(1, 1, "192.0.2.1");
  list.SetItemText(1, 5, "beyond the columns");
  Report("list.rows", list.ItemText(0, 0) + "|" + list.ItemText(1, 0) + "|" + list.ItemText(2, 0) + "|" +
                          list.ItemText(list.ItemCount() - 1, 0));
  Report("list.subitem", list.ItemText(1, 1));
  Report("list.subitem_beyond", list.ItemText(1, 5));
  Report("list.text_missing_row", list.ItemText(40, 0));
  const std::string longText(700, 'x');
  list.SetItemText(2, 1, longText);
  Report("list.long_text_length", static_cast<int>(list.ItemText(2, 1).size()));
  list.SetItemData(2, static_cast<std::uintptr_t>(0x1234567890ABCDEFULL));
  Report("list.data", list.ItemData(2) == static_cast<std::uintptr_t>(0x1234567890ABCDEFULL));
  Report("list.data_missing_row", static_cast<long long>(list.ItemData(40)));
  list.SetSelected(1, true);
  const bool first = list.IsSelected(1);
  list.SetSelected(2, true);
  Report("list.selection",
         std::to_string(first) + std::to_string(list.IsSelected(1)) + std::to_string(list.IsSelected(2)));
  list.SetSelected(-1, false);
  Report("list.selection_cleared", !list.IsSelected(2));
  Report("list.top_index", list.TopIndex());
  list.InsertColumn(0, "Front", 40);
  Report("list.after_front_column", list.ItemText(1, 0) + "|" + list.ItemText(1, 1) + "|" + list.ItemText(1, 2));
}

void ProbeDialog::ProbeCombo() {
  ui::ComboBox& combo = host().Combo(IDC_COMBO);
  const int disable = combo.AddString("Disable");
  const int enable = combo.AddString("Enable");
  Report("combo.add", std::to_string(disable) + std::to_string(enable));
  Report("combo.count", combo.Count());
  Report("combo.item", combo.ItemText(1));
  Report("combo.item_missing", combo.ItemText(7));
  Report("combo.cursel_initial", combo.CurSel());
  combo.SetCurSel(1);
  Report("combo.cursel", combo.CurSel());
  Report("combo.text", combo.Text());
  combo.SetText("typed");
  Report("combo.text_after_set", combo.Text());
  combo.SetCurSel(0);
  combo.SetCurSel(-1);
  Report("combo.cursel_cleared", combo.CurSel());
  combo.ResetContent();
  Report("combo.count_reset", combo.Count());
}

void ProbeDialog::ProbeAddress() {
  ui::IpAddressEdit& address = host().Address(IDC_ADDRESS);
  ui::IpAddressEdit::Fields fields{};
  Report("ip.blank_initial", address.IsBlank());
  address.SetAddress({192, 0, 2, 300});
  Report("ip.count", address.GetAddress(fields));
  Report("ip.fields", Join(fields));
  Report("ip.blank_set", address.IsBlank());
  address.ClearAddress();
  Report("ip.blank_cleared", address.IsBlank());
  Report("ip.count_cleared", address.GetAddress(fields));
  Report("ip.fields_cleared", Join(fields));
  Report("ip.edit_fields", static_cast<int>(AddressFields(ControlWindow(IDC_ADDRESS)).size()));
  TypeIntoField(ControlWindow(IDC_ADDRESS), 1, "77");
  Report("ip.count_partial", address.GetAddress(fields));
  Report("ip.fields_partial", Join(fields));
  Report("ip.blank_partial", address.IsBlank());
}

void ProbeDialog::ProbeItem() {
  ui::Control& button = host().Item(IDC_BUTTON);
  Report("item.id", button.id());
  button.Enable(false);
  Report("item.enabled_off", button.IsEnabled());
  button.Enable(true);
  Report("item.enabled_on", button.IsEnabled());
  button.SetText("Pressed");
  Report("item.text", button.Text());
  Report("item.visible_while_hidden_dialog", button.IsVisible());
}

// The bar is driven from a worker, as the restart wait does; its messages are handled here once the worker
// has ended and this thread takes its pending sent messages.
void ProbeDialog::ProbeProgressAndCheck() {
  ui::ProgressBar& bar = host().Progress(IDC_PROGRESS);
  std::thread worker([&bar] {
    bar.SetRange(1, 100);
    bar.SetStep(1);
    for (int step = 0; step < 99; ++step) bar.StepIt();
  });
  worker.join();
  MSG message;
  ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
  Report("progress.pos_after_worker", bar.Pos());
  bar.SetRange(0, 10);
  Report("progress.pos_after_range", bar.Pos());
  ui::Control& check = host().Item(IDC_CHECK);
  Report("check.initial", check.GetCheck());
  check.SetCheck(true);
  Report("check.set", check.GetCheck());
  check.SetCheck(false);
  Report("check.cleared", check.GetCheck());
}

void ProbeDialog::ProbeOnScreen() {
  ui::Control& button = host().Item(IDC_BUTTON);
  Report("screen.visible", button.IsVisible());
  button.Show(false);
  Report("screen.hidden", !button.IsVisible());
  button.Show(true);
  Report("screen.shown_again", button.IsVisible());
  host().Combo(IDC_COMBO).SetFocus();
  Report("focus.combo", ::GetFocus() == ControlWindow(IDC_COMBO));
  ui::ComboBox& combo = host().Combo(IDC_COMBO);
  combo.Enable(false);
  HWND focus = ::GetFocus();
  Report("focus.after_disable", focus == nullptr ? "none" : focus == ControlWindow(IDC_COMBO) ? "combo" : "other");
  combo.Enable(true);
  ui::IpAddressEdit& address = host().Address(IDC_ADDRESS);
  address.SetFieldFocus(2);
  Report("focus.ip_field", FocusedField(ControlWindow(IDC_ADDRESS)));
  address.SetAddress({10, 0, 0, 1});
  address.SetFieldFocus(9);
  Report("focus.ip_field_none_blank", FocusedField(ControlWindow(IDC_ADDRESS)));
  address.ClearAddress();

  ui::ListView& list = host().List(IDC_LIST);
  for (int i = list.ItemCount(); i < 40; ++i) list.InsertItem(i, "row " + std::to_string(i));
  ::SendMessageA(ControlWindow(IDC_LIST), LVM_ENSUREVISIBLE, 39, FALSE);
  Report("scroll.top_index_positive", list.TopIndex() > 0);
  list.DeleteAllItems();
  Report("scroll.count_after_delete", list.ItemCount());
  Report("scroll.top_index_after_delete", list.TopIndex());
}

void ProbeDialog::ProbeInput() {
  TakeEvents();
  ::SendMessageA(ControlWindow(IDC_BUTTON), BM_CLICK, 0, 0);
  Report("input.button", TakeEvents());

  ui::ComboBox& combo = host().Combo(IDC_COMBO);
  combo.AddString("Disable");
  combo.AddString("Enable");
  combo.SetCurSel(0);
  ::SendMessageA(ControlWindow(IDC_COMBO), WM_KEYDOWN, VK_DOWN, 1);
  Report("input.combo", TakeEvents());
  Report("input.combo_cursel", combo.CurSel());

  ui::ListView& list = host().List(IDC_LIST);
  for (int i = 0; i < 3; ++i) list.InsertItem(i, "row " + std::to_string(i));
  RECT rect{};
  rect.left = LVIR_BOUNDS;
  ::SendMessageA(ControlWindow(IDC_LIST), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rect));
  const LPARAM point = MAKELPARAM(rect.left + 5, (rect.top + rect.bottom) / 2);
  ::SendMessageA(ControlWindow(IDC_LIST), WM_LBUTTONDOWN, MK_LBUTTON, point);
  ::SendMessageA(ControlWindow(IDC_LIST), WM_LBUTTONUP, 0, point);
  Report("input.list", TakeEvents());
  Report("input.list_selected", std::to_string(list.IsSelected(0)) + std::to_string(list.IsSelected(1)) +
                                    std::to_string(list.IsSelected(2)));
}

void ProbeDialog::ProbeChildren() {
  using Ending = ChildDialog::Ending;
  const std::pair<const char*, Ending> runs[] = {
      {"escape", Ending::EscapeKey}, {"enter", Ending::EnterKey},           {"close", Ending::CloseBox},
      {"end42", Ending::EndDialog42}, {"destroy", Ending::DestroyWindow}};
  for (const auto& [name, ending] : runs) {
    ChildDialog child(ending, Window());
    const int result = host().RunModal(child);
    Report(std::string("child.") + name,
           std::to_string(result) + " " + child.handledBy() + " destroyed=" + std::to_string(child.destroyCount()) +
               " detached=" + std::to_string(!child.isOpen()) +
               " owner_disabled=" + std::to_string(child.parentWasDisabled()) +
               " owner_back=" + std::to_string(::IsWindowEnabled(Window()) != FALSE));
  }
  ChildDialog thrower(Ending::Throw, Window());
  try {
    host().RunModal(thrower);
    Report("child.throw", "returned");
  } catch (const std::runtime_error& e) {
    Report("child.throw", std::string("caught ") + e.what() + " destroyed=" + std::to_string(thrower.destroyCount()));
  }
  Dialog missing(IDD_MISSING);
  Report("child.missing_template", host().RunModal(missing));
}

void ProbeDialog::ProbeMessageBox() {
  host().SetTimer(kAnswerTimer, 50);
  Report("box.result", host().MessageBox("Probe text", kBoxCaption, ui::Icon::Warning));
}

void ProbeDialog::AnswerMessageBox() {
  host().KillTimer(kAnswerTimer);
  HWND box = ::FindWindowA("#32770", kBoxCaption);
  Report("box.found", box != nullptr);
  Report("box.owner_is_dialog", box != nullptr && ::GetWindow(box, GW_OWNER) == Window());
  std::string texts;
  for (HWND child = ::GetWindow(box, GW_CHILD); box != nullptr && child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    texts.append("[").append(ui::WindowText(child)).append("]");
  }
  Report("box.texts", texts);
  if (box != nullptr) ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(ui::IDOK, ui::BN_CLICKED), 0);
}

}  // namespace probe
