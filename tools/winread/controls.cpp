#include <vector>

#include "accessible_name.h"
#include "control_readers.h"

namespace quorvel::winread {

namespace {

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lParam) {
  reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
  return TRUE;
}

bool SameClass(const std::string& a, const char* b) { return lstrcmpiA(a.c_str(), b) == 0; }

void WriteControl(Target& target, HWND hwnd, JsonWriter& out, bool names) {
  const std::string cls = ClassOf(hwnd);
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  const HWND parent = GetParent(hwnd);
  out.BeginObject();
  out.Key("id").Int(GetDlgCtrlID(hwnd));
  out.Key("hwnd").UInt(reinterpret_cast<UINT_PTR>(hwnd));
  // A control inside another control (a list view's header, an address field's edit) is nested.
  out.Key("nested").Bool(parent != target.top());
  out.Key("parentId").Int(parent != target.top() && parent ? GetDlgCtrlID(parent) : 0);
  out.Key("class").String(cls);
  out.Key("text").WideString(WindowText(target, hwnd));
  out.Key("visible").Bool(IsWindowVisible(hwnd) != FALSE);
  out.Key("enabled").Bool(IsWindowEnabled(hwnd) != FALSE);
  out.Key("style").UInt(static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)));
  out.Key("exStyle").UInt(static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_EXSTYLE)));
  out.Key("rect");
  WriteRect(out, rect);
  if (names) {
    const std::optional<std::wstring> name = AccessibleName(hwnd);
    out.Key("accName");
    if (name) {
      out.WideString(*name);
    } else {
      out.Null();
    }
  }
  if (SameClass(cls, "SysListView32")) {
    WriteListView(target, hwnd, out);
  } else if (SameClass(cls, "ComboBox")) {
    WriteComboBox(target, hwnd, out);
  } else if (SameClass(cls, "SysIPAddress32")) {
    WriteIpAddress(target, hwnd, out);
  } else if (SameClass(cls, "Button")) {
    WriteButton(target, hwnd, out);
  }
  out.EndObject();
}

}  // namespace

std::string ClassOf(HWND hwnd) {
  char name[256] = {};
  const int n = GetClassNameA(hwnd, name, sizeof name);
  return std::string(name, n > 0 ? static_cast<size_t>(n) : 0);
}

std::wstring WindowText(Target& target, HWND hwnd) {
  const auto length = static_cast<size_t>(target.Send(hwnd, WM_GETTEXTLENGTH));
  if (length == 0 || target.failed()) return {};
  std::wstring text(length + 1, L'\0');
  const auto got = static_cast<size_t>(
      target.Send(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
  text.resize(got < length ? got : length);
  return text;
}

void WriteRect(JsonWriter& out, const RECT& rect) {
  out.BeginObject();
  out.Key("left").Int(rect.left).Key("top").Int(rect.top);
  out.Key("right").Int(rect.right).Key("bottom").Int(rect.bottom);
  out.EndObject();
}

void WriteControls(Target& target, JsonWriter& out, bool names) {
  std::vector<HWND> children;
  EnumChildWindows(target.top(), CollectChild, reinterpret_cast<LPARAM>(&children));
  out.BeginArray();
  for (const HWND child : children) {
    if (target.failed()) break;
    WriteControl(target, child, out, names);
  }
  out.EndArray();
}

}  // namespace quorvel::winread
