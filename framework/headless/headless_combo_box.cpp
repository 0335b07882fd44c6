#include "framework/headless/headless_combo_box.h"

namespace quorvel::ui {

void HeadlessComboBox::ResetContent() {
  Touch();
  items_.clear();
  current_ = -1;
}

int HeadlessComboBox::AddString(std::string_view text) {
  Touch();
  items_.emplace_back(text);
  return Count() - 1;
}

std::string HeadlessComboBox::ItemText(int index) const {
  Touch();
  return index >= 0 && index < Count() ? items_[index] : std::string();
}

void HeadlessComboBox::SetCurSel(int index) {
  Touch();
  current_ = index >= 0 && index < Count() ? index : -1;
}

}  // namespace quorvel::ui
