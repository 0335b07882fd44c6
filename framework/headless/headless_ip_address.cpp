#include "framework/headless/headless_ip_address.h"

#include <algorithm>

namespace quorvel::ui {

bool HeadlessIpAddress::IsBlank() const {
  Touch();
  return std::none_of(fields_.begin(), fields_.end(), [](const Field& f) { return f.has_value(); });
}

int HeadlessIpAddress::GetAddress(Fields& fields) const {
  Touch();
  int filled = 0;
  for (int i = 0; i < 4; ++i) {
    fields[i] = fields_[i].value_or(0);
    if (fields_[i]) ++filled;
  }
  return filled;
}

void HeadlessIpAddress::SetAddress(const Fields& fields) {
  Touch();
  for (int i = 0; i < 4; ++i) fields_[i] = fields[i] & 0xFF;
}

void HeadlessIpAddress::ClearAddress() {
  Touch();
  fields_.fill(std::nullopt); 
}

void HeadlessIpAddress::SetFieldFocus(int field) {
  Touch();
  if (field < 0 || field > 3) {
    auto empty = std::find_if(fields_.begin(), fields_.end(), [](const Field& f) { return !f.has_value(); });
    field = empty == fields_.end() ? 0 : static_cast<int>(empty - fields_.begin());
  }
  focusField_ = field;
  SetFocus();
}

void HeadlessIpAddress::SetField(int field, Field value) {
  if (field < 0 || field > 3) return;
  fields_[field] = value ? std::optional<int>(std::clamp(*value, 0, 255)) : std::nullopt;
}

HeadlessIpAddress::Field HeadlessIpAddress::FieldValue(int field) const {
  return field >= 0 && field <= 3 ? fields_[field] : std::nullopt;
}

}  // namespace quorvel::ui
