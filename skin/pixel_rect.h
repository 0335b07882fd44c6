// A rectangle of pixels, as the painted parts' geometry computes them.
#pragma once

namespace quorvel::skin {

// A rectangle of pixels; right and bottom are exclusive.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  bool empty() const { return right <= left || bottom <= top; }
  bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const PixelRect&) const = default;
};

}  // namespace quorvel::skin
