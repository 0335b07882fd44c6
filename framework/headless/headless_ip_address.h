// The IPv4 address editor in memory: four fields, each a byte or empty, and the field with the caret.
#pragma once

#include <array>
#include <optional>

#include "framework/headless/headless_control.h"

namespace quorvel::ui {

class HeadlessIpAddress : public HeadlessControl<IpAddressEdit> {
 public:
  using Field = std::optional<int>;  // 0..255, or empty

  using HeadlessControl::HeadlessControl;

  bool IsBlank() const override;
  int GetAddress(Fields& fields) const override;
  void SetAddress(const Fields& fields) override;  // fills all four, each taken modulo 256
  void ClearAddress() override;
  // Field 0 to 3; any other number goes to the first empty field, or to field 0 when none is empty.
  void SetFieldFocus(int field) override;

  // For tests: what the user typed, field by field (an empty optional for an empty field).
  void SetField(int field, Field value);
  Field FieldValue(int field) const;
  int FocusField() const { return HasFocus() ? focusField_ : -1; }

 private:
  std::array<Field, 4> fields_{};
  int focusField_ = -1;
};

}  // namespace quorvel::ui
