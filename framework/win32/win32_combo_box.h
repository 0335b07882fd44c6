// The drop-down list combo box (COMBOBOX, CBS_DROPDOWNLIST) of a dialog.
#pragma once

#include "framework/win32/win32_control.h"

namespace quorvel::ui {

class Win32ComboBox : public Win32Control<ComboBox> {
 public:
  using Win32Control::Win32Control;

  void ResetContent() override;
  int AddString(std::string_view text) override;
  int Count() const override;
  std::string ItemText(int index) const override;
  int CurSel() const override;
  void SetCurSel(int index) override;
};

}  // namespace quorvel::ui
