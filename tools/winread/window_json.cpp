#include "window_json.h"

#include "control_readers.h"
#include "top_windows.h"
#include "framework/win32/busy_property.h"

namespace quorvel::winread {

namespace {

void WriteSummaryKeys(HWND hwnd, JsonWriter& out) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  out.Key("title").AnsiString(TitleOf(hwnd));
  out.Key("class").String(ClassOf(hwnd));
  out.Key("hwnd").UInt(reinterpret_cast<UINT_PTR>(hwnd));
  out.Key("pid").UInt(pid);
  out.Key("visible").Bool(IsWindowVisible(hwnd) != FALSE);
  out.Key("rect");
  WriteRect(out, rect);
}

// The client area in screen coordinates: where the controls' own coordinates start.
RECT ClientOnScreen(HWND hwnd) {
  RECT rect{};
  GetClientRect(hwnd, &rect);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

void WriteWindowSummary(HWND hwnd, JsonWriter& out) {
  out.BeginObject();
  WriteSummaryKeys(hwnd, out);
  out.EndObject();
}

void WriteWindow(Target& target, JsonWriter& out, bool names) {
  const HWND top = target.top();
  out.BeginObject();
  WriteSummaryKeys(top, out);
  out.Key("enabled").Bool(IsWindowEnabled(top) != FALSE);
  out.Key("busy").Bool(GetPropA(top, quorvel::ui::kBusyWindowProperty) != nullptr);
  out.Key("clientRect");
  WriteRect(out, ClientOnScreen(top));
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const bool known = GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info) != FALSE;
  out.Key("active").Bool(known && info.hwndActive == top);
  // The control that has the focus, or holds it in one of its parts (an address field's edit).
  out.Key("focusId");
  if (known && info.hwndFocus && IsChild(top, info.hwndFocus)) {
    HWND control = info.hwndFocus;
    while (GetParent(control) != top) control = GetParent(control);
    out.Int(GetDlgCtrlID(control));
  } else {
    out.Null();
  }
  out.Key("controls");
  WriteControls(target, out, names);
  out.EndObject();
}

}  // namespace quorvel::winread
