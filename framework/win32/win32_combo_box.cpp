#include "framework/win32/win32_combo_box.h"

#include <string>

namespace quorvel::ui {

void Win32ComboBox::ResetContent() { Send(CB_RESETCONTENT); }

int Win32ComboBox::AddString(std::string_view text) {
  const std::string copy(text);
  const LRESULT index = Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(copy.c_str()));
  return index >= 0 ? static_cast<int>(index) : -1;  // CB_ERR or CB_ERRSPACE
}

int Win32ComboBox::Count() const {
  const LRESULT count = Send(CB_GETCOUNT);
  return count > 0 ? static_cast<int>(count) : 0;
}

std::string Win32ComboBox::ItemText(int index) const {
  const LRESULT length = Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
  if (length < 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT copied = Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

int Win32ComboBox::CurSel() const {
  const LRESULT current = Send(CB_GETCURSEL);
  return current >= 0 ? static_cast<int>(current) : -1;
}

void Win32ComboBox::SetCurSel(int index) { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }

}  // namespace quorvel::ui
