#include "skin/region.h"

#include <algorithm>

#include "framework/dpi_scale.h"

namespace quorvel::skin {

std::array<PixelRect, kFrameRectCount> FrameRegionRects(int width, int height, int dpi) {
  const int w = std::max(width, 0);
  const int h = std::max(height, 0);
  const auto d = [dpi](int pixels) { return ui::ScaleToDpi(pixels, dpi); };  // a depth from an edge
  std::array<PixelRect, kFrameRectCount> rects{{
      {0, d(5), d(1), h - d(5)},
      {d(1), d(3), d(2), h - d(3)},
      {d(2), d(2), d(3), h - d(2)},
      {d(3), d(1), d(4), h - d(1)},
      {d(4), d(1), d(5), h - d(1)},
      {d(5), d(1), w - d(5), h},  // the body: from row 1 down to the bottom row
      {w - d(5), d(1), w - d(4), h - d(1)},
      {w - d(4), d(2), w - d(3), h - d(2)},
      {w - d(3), d(2), w - d(2), h - d(2)},
      {w - d(2), d(3), w - d(1), h - d(3)},
      {w - d(1), d(5), w, h - d(5)},
  }};
  // A window narrower or lower than its corners: nothing may reach past its edges.
  for (PixelRect& rect : rects) {
    rect = {std::clamp(rect.left, 0, w), std::clamp(rect.top, 0, h), std::clamp(rect.right, 0, w),
            std::clamp(rect.bottom, 0, h)};
  }
  return rects;
}

}  // namespace quorvel::skin
