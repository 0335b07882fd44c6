#include "skin/region.h"

#include <algorithm>

namespace quorvel::skin {

std::array<PixelRect, kFrameRectCount> FrameRegionRects(int width, int height) {
  const int w = std::max(width, 0);
  const int h = std::max(height, 0);
  std::array<PixelRect, kFrameRectCount> rects{{
      {0, 5, 1, h - 5},
      {1, 3, 2, h - 3},
      {2, 2, 3, h - 2},
      {3, 1, 4, h - 1},
      {4, 1, 5, h - 1},
      {5, 1, w - 5, h},  // the body: from row 1 down to the bottom row
      {w - 5, 1, w - 4, h - 1},
      {w - 4, 2, w - 3, h - 2},
      {w - 3, 2, w - 2, h - 2},
      {w - 2, 3, w - 1, h - 3},
      {w - 1, 5, w, h - 5},
  }};
  // A window narrower or lower than its corners: nothing may reach past its edges.
  for (PixelRect& rect : rects) {
    rect = {std::clamp(rect.left, 0, w), std::clamp(rect.top, 0, h), std::clamp(rect.right, 0, w),
            std::clamp(rect.bottom, 0, h)};
  }
  return rects;
}

}  // namespace quorvel::skin
