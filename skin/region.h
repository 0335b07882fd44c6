// The outline of the main window: a rectangle whose corners are cut round by a few pixels, made as the
// union of eleven rectangles (one per column band), from the client width and height.
#pragma once

#include <array>
#include <cstddef>

#include "skin/pixel_rect.h"

namespace quorvel::skin {

inline constexpr std::size_t kFrameRectCount = 11;

// The rectangles whose union is the main window's region. The top pixel row lies outside it; the two
// sides are not mirror images (column 3 starts at row 1, column width - 4 at row 2). For a window too
// small to have corners some rectangles come out empty; they add nothing to the region. At another DPI
// than 96 the corners are cut as deep as the 96-DPI corners scaled, measured from each edge of the
// window's real size, so that the outline fits the window whatever its rounding.
std::array<PixelRect, kFrameRectCount> FrameRegionRects(int width, int height, int dpi = 96);

}  // namespace quorvel::skin
