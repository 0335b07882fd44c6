// The IPv4 address editor (SysIPAddress32) of a dialog.
#pragma once

#include "framework/win32/win32_control.h"

namespace quorvel::ui {

class Win32IpAddress : public Win32Control<IpAddressEdit> {
 public:
  using Win32Control::Win32Control;

  bool IsBlank() const override;
  int GetAddress(Fields& fields) const override;
  void SetAddress(const Fields& fields) override;
  void ClearAddress() override;
  void SetFieldFocus(int field) override;
};

}  // namespace quorvel::ui
