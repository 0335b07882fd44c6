// Where an address editor's four fields go in its client area: a quarter of the width each, inset from
// the quarter's left by 6 and from its right by 2 (the separator dot's room), and 2 from the top and the
// bottom, in 96-DPI pixels at the editor's DPI. The editor places them so once, at the size it is made
// with; laid out again from the size the editor is given, they fit that size at every DPI.
#pragma once

#include <array>

#include "framework/dialog_template.h"
#include "framework/dpi_scale.h"

namespace quorvel::ui {

inline std::array<PixelBox, 4> AddressFieldBoxes(int clientWidth, int clientHeight, int dpi) {
  const int quarter = clientWidth / 4;
  std::array<PixelBox, 4> fields{};
  for (int i = 0; i < 4; ++i) {
    fields[i] = {i * quarter + ScaleToDpi(6, dpi), ScaleToDpi(2, dpi), (i + 1) * quarter - ScaleToDpi(2, dpi),
                 clientHeight - ScaleToDpi(2, dpi)};
  }
  return fields;
}

}  // namespace quorvel::ui
