// A combo box of another process: its item texts and current selection. CB_GETLBTEXT is one of the
// messages that the system copies across processes, so a local buffer serves (on Windows and Wine);
// lengths and texts are in UTF-16 units, as Target sends Unicode.
#include <string>

#include "control_readers.h"

namespace quorvel::winread {

void WriteComboBox(Target& target, HWND hwnd, JsonWriter& out) {
  const auto count = static_cast<int>(target.Send(hwnd, CB_GETCOUNT));
  out.Key("items").BeginArray();
  for (int i = 0; i < count && !target.failed(); ++i) {
    const LRESULT length = target.Send(hwnd, CB_GETLBTEXTLEN, i);
    if (length == CB_ERR || target.failed()) {
      target.Fail("combo box item " + std::to_string(i) + " has no text length");
      break;
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT got = target.Send(hwnd, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == CB_ERR || got < 0 ? 0 : static_cast<size_t>(got));
    out.WideString(text);
  }
  out.EndArray();
  out.Key("curSel").Int(static_cast<int>(target.Send(hwnd, CB_GETCURSEL)));
  out.Key("dropped").Bool(target.Send(hwnd, CB_GETDROPPEDSTATE) != 0);
}

}  // namespace quorvel::winread
