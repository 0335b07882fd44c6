// The drop-down list combo box in memory: items in insertion order and the current one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "framework/headless/headless_control.h"

namespace quorvel::ui {

class HeadlessComboBox : public HeadlessControl<ComboBox> {
 public:
  using HeadlessControl::HeadlessControl;

  void ResetContent() override;
  int AddString(std::string_view text) override;
  int Count() const override { return Touch(), static_cast<int>(items_.size()); }
  std::string ItemText(int index) const override;
  int CurSel() const override { return Touch(), current_; }
  void SetCurSel(int index) override;  // an index out of range clears the selection

  // A drop-down list has no edit field: its text is the current item's, and setting it does nothing.
  void SetText(std::string_view) override {}
  std::string Text() const override { return ItemText(current_); }

  // For tests.
  const std::vector<std::string>& items() const { return items_; }

 private:
  std::vector<std::string> items_;
  int current_ = -1;
};

}  // namespace quorvel::ui
