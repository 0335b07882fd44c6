#include "framework/win32/win32_list_view.h"

#include <algorithm>
#include <string>

namespace quorvel::ui {

namespace {

constexpr size_t kLongestItemText = size_t{1} << 16;

}  // namespace

void Win32ListView::SetFullRowSelect() {
  Send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

void Win32ListView::SetTextColor(Rgb color) { Send(LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(color)); }

void Win32ListView::InsertColumn(int column, std::string_view header, int widthPixels) {
  std::string text(header);
  LVCOLUMNA lvc{};
  lvc.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  lvc.fmt = LVCFMT_LEFT;
  lvc.cx = ScaleToDpi(widthPixels, WindowDpi(window()));  // 96-DPI pixels at the list's DPI
  lvc.pszText = text.data();
  lvc.iSubItem = column;
  Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&lvc));
}

int Win32ListView::ColumnCount() const {
  HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
  if (header == nullptr) return 0;
  const LRESULT count = ::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0);
  return count > 0 ? static_cast<int>(count) : 0;
}

int Win32ListView::InsertItem(int item, std::string_view text) {
  std::string copy(text);
  LVITEMA lvi{};
  lvi.mask = LVIF_TEXT;
  lvi.iItem = item;
  lvi.pszText = copy.data();
  return static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&lvi)));
}

void Win32ListView::SetItemText(int item, int column, std::string_view text) {
  std::string copy(text);
  LVITEMA lvi{};
  lvi.iSubItem = column;
  lvi.pszText = copy.data();
  Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvi));
}

std::string Win32ListView::ItemText(int item, int column) const {
  // The message says only how much it copied: grow the buffer until the text fits with room to spare.
  std::string buffer(256, '\0');
  for (;;) {
    LVITEMA lvi{};
    lvi.iSubItem = column;
    lvi.pszText = buffer.data();
    lvi.cchTextMax = static_cast<int>(buffer.size());
    const LRESULT copied = Send(LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvi));
    const size_t length = copied > 0 ? static_cast<size_t>(copied) : 0;
    if (length + 1 < buffer.size() || buffer.size() >= kLongestItemText) {
      buffer.resize(std::min(length, buffer.size()));
      return buffer;
    }
    buffer.assign(buffer.size() * 2, '\0');
  }
}

void Win32ListView::SetItemData(int item, std::uintptr_t data) {
  LVITEMA lvi{};
  lvi.mask = LVIF_PARAM;
  lvi.iItem = item;
  lvi.lParam = static_cast<LPARAM>(data);
  Send(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&lvi));
}

std::uintptr_t Win32ListView::ItemData(int item) const {
  LVITEMA lvi{};
  lvi.mask = LVIF_PARAM;
  lvi.iItem = item;
  if (!Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&lvi))) return 0;
  return static_cast<std::uintptr_t>(lvi.lParam);
}

int Win32ListView::ItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }

void Win32ListView::DeleteItem(int item) { Send(LVM_DELETEITEM, static_cast<WPARAM>(item)); }

void Win32ListView::SetRedraw(bool redraw) {
  Send(WM_SETREDRAW, redraw ? TRUE : FALSE);
  if (redraw) ::InvalidateRect(window(), nullptr, FALSE);
}

void Win32ListView::DeleteAllItems() { Send(LVM_DELETEALLITEMS); }

int Win32ListView::TopIndex() const { return static_cast<int>(Send(LVM_GETTOPINDEX)); }

bool Win32ListView::IsSelected(int item) const {
  return (Send(LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void Win32ListView::SetSelected(int item, bool selected) {
  LVITEMA lvi{};
  lvi.stateMask = LVIS_SELECTED;
  lvi.state = selected ? LVIS_SELECTED : 0;
  Send(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvi));
}

}  // namespace quorvel::ui
