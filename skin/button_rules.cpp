#include "skin/button_rules.h"

#include <algorithm>

namespace quorvel::skin {

ButtonKind ButtonKindFromStyle(unsigned long style) {
  constexpr unsigned long kAutoCheckBox = 0x3;
  constexpr unsigned long kAutoRadio = 0x9;
  if ((style & kAutoCheckBox) == kAutoCheckBox) return ButtonKind::CheckBox;
  if ((style & kAutoRadio) == kAutoRadio) return ButtonKind::Radio;
  return ButtonKind::Push;
}

int NormalisedDrawMode(int mode) { return std::clamp(mode, static_cast<int>(kDrawCopy), static_cast<int>(kDrawTile)); }

std::vector<PixelRect> TileCopies(const PixelRect& area, int tileWidth, int tileHeight) {
  std::vector<PixelRect> copies;
  if (tileWidth <= 0 || tileHeight <= 0 || area.empty()) return copies;
  for (int y = area.top; y < area.bottom; y += tileHeight) {
    const int bottom = std::min(y + tileHeight, area.bottom);
    for (int x = area.left; x < area.right; x += tileWidth) {
      copies.push_back({x, y, std::min(x + tileWidth, area.right), bottom});
    }
  }
  return copies;
}

}  // namespace quorvel::skin
