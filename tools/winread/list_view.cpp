// A list view of another process: columns, cell texts, item data, selection. Its messages carry
// pointers to LVCOLUMNA / LVITEMA, so the structure and its text buffer go into one remote block:
// [structure][text]. Both processes are 64-bit, so the structures have the same layout on each side.
#include <windows.h>

#include <commctrl.h>  // after windows.h, which it needs

#include <algorithm>
#include <string>
#include <vector>

#include "control_readers.h"

namespace quorvel::winread {

namespace {

constexpr int kTextMax = 4096;
constexpr int kMaxColumns = 64;
constexpr std::size_t kHead = 256;  // room for either structure ahead of the text
static_assert(sizeof(LVITEMA) <= kHead && sizeof(LVCOLUMNA) <= kHead);

// The text the target wrote behind the structure: at most `limit` bytes, up to its terminating zero.
std::string ReadText(const RemoteBuffer& buf, std::size_t limit = kTextMax) {
  std::string text(std::min<std::size_t>(limit, kTextMax), '\0');
  if (!buf.Read(kHead, text.data(), text.size())) return {};
  text.resize(std::min(text.find('\0'), text.size()));
  return text;
}

struct Column {
  std::string text;
  int width = 0;
};

std::vector<Column> ReadColumns(Target& target, HWND hwnd, const RemoteBuffer& buf) {
  std::vector<Column> columns;
  for (int i = 0; i < kMaxColumns && !target.failed(); ++i) {
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = static_cast<char*>(buf.at(kHead));
    col.cchTextMax = kTextMax;
    const char nothing = '\0';
    if (!buf.Write(0, &col, sizeof col) || !buf.Write(kHead, &nothing, 1)) {
      target.Fail("cannot write the column request");
      break;
    }
    if (!target.SendRemote(hwnd, LVM_GETCOLUMNA, i, buf)) break;  // no column i: done
    if (!buf.Read(0, &col, sizeof col)) {
      target.Fail("cannot read the column answer");
      break;
    }
    columns.push_back({ReadText(buf), col.cx});
  }
  return columns;
}

std::string ReadCell(Target& target, HWND hwnd, const RemoteBuffer& buf, int row, int column) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = static_cast<char*>(buf.at(kHead));
  item.cchTextMax = kTextMax;
  if (!buf.Write(0, &item, sizeof item)) {
    target.Fail("cannot write the item request");
    return {};
  }
  const auto length = static_cast<size_t>(target.SendRemote(hwnd, LVM_GETITEMTEXTA, row, buf));
  if (length == 0 || target.failed()) return {};
  return ReadText(buf, length);
}

LPARAM ReadItemData(Target& target, HWND hwnd, const RemoteBuffer& buf, int row) {
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!buf.Write(0, &item, sizeof item)) {
    target.Fail("cannot write the item request");
    return 0;
  }
  if (!target.SendRemote(hwnd, LVM_GETITEMA, 0, buf)) return 0;
  if (!buf.Read(0, &item, sizeof item)) target.Fail("cannot read the item answer");
  return item.lParam;
}

// The row's whole rectangle in screen coordinates (a row scrolled out of view lies outside the list).
RECT ReadRowRect(Target& target, HWND hwnd, const RemoteBuffer& buf, int row) {
  RECT rect{};
  rect.left = LVIR_BOUNDS;
  if (!buf.Write(0, &rect, sizeof rect)) {
    target.Fail("cannot write the rectangle request");
    return {};
  }
  if (!target.SendRemote(hwnd, LVM_GETITEMRECT, row, buf)) return {};
  if (!buf.Read(0, &rect, sizeof rect)) target.Fail("cannot read the rectangle answer");
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

void WriteListView(Target& target, HWND hwnd, JsonWriter& out) {
  const RemoteBuffer buf(target.process(), kHead + kTextMax);
  if (!buf.ok()) {
    target.Fail("cannot allocate memory in the target process");
    return;
  }
  const std::vector<Column> columns = ReadColumns(target, hwnd, buf);
  out.Key("columns").BeginArray();
  for (const Column& c : columns) out.BeginObject().Key("text").AnsiString(c.text).Key("width").Int(c.width).EndObject();
  out.EndArray();

  const int count = static_cast<int>(target.Send(hwnd, LVM_GETITEMCOUNT));
  const int cells = std::max<int>(1, static_cast<int>(columns.size()));
  std::vector<int> selected;
  std::vector<LPARAM> data;
  std::vector<RECT> rects;
  out.Key("rows").BeginArray();
  for (int row = 0; row < count && !target.failed(); ++row) {
    out.BeginArray();
    for (int column = 0; column < cells; ++column) out.AnsiString(ReadCell(target, hwnd, buf, row, column));
    out.EndArray();
    data.push_back(ReadItemData(target, hwnd, buf, row));
    rects.push_back(ReadRowRect(target, hwnd, buf, row));
    if (target.Send(hwnd, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) selected.push_back(row);
  }
  out.EndArray();
  out.Key("itemData").BeginArray();
  for (const LPARAM d : data) out.UInt(static_cast<UINT_PTR>(d));
  out.EndArray();
  out.Key("rowRects").BeginArray();
  for (const RECT& r : rects) WriteRect(out, r);
  out.EndArray();
  out.Key("selected").BeginArray();
  for (const int s : selected) out.Int(s);
  out.EndArray();
  out.Key("topIndex").Int(target.Send(hwnd, LVM_GETTOPINDEX));
  out.Key("extendedStyle").UInt(static_cast<DWORD>(target.Send(hwnd, LVM_GETEXTENDEDLISTVIEWSTYLE)));
}

}  // namespace quorvel::winread
