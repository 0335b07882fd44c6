// The one place where geometry written for 96 DPI is scaled to a window's DPI: every window and control
// rectangle, every pixel constant of the painted look and every font height goes through here, so that
// at 96 DPI nothing changes and at any other DPI everything grows by the same factor.
#pragma once

#include <cstdint>

namespace quorvel::ui {

inline constexpr int kReferenceDpi = 96;

// `value` at `fromDpi` as it is at `toDpi`, rounded to the nearest pixel, halves away from zero (as the
// system's MulDiv rounds), so that a negative font height scales as its size does. A DPI of 0 or less
// leaves the value as it is.
constexpr int ScaleBetween(int value, int fromDpi, int toDpi) {
  if (fromDpi <= 0 || toDpi <= 0 || fromDpi == toDpi) return value;
  const std::int64_t product = static_cast<std::int64_t>(value) * toDpi;
  const std::int64_t half = fromDpi / 2;
  return static_cast<int>(product >= 0 ? (product + half) / fromDpi : -((-product + half) / fromDpi));
}

// 96-DPI pixels at `dpi`.
constexpr int ScaleToDpi(int pixels, int dpi) { return ScaleBetween(pixels, kReferenceDpi, dpi); }

// A rectangle (anything with left, top, right and bottom) at `dpi`: each edge is scaled on its own, so
// rectangles that touch at 96 DPI still touch, and a width differs from the scaled width by one pixel at
// most.
template <class Rect>
constexpr Rect ScaleRectToDpi(Rect rect, int dpi) {
  rect.left = ScaleToDpi(rect.left, dpi);
  rect.top = ScaleToDpi(rect.top, dpi);
  rect.right = ScaleToDpi(rect.right, dpi);
  rect.bottom = ScaleToDpi(rect.bottom, dpi);
  return rect;
}

}  // namespace quorvel::ui

namespace quorvel::ui {

// Where a window goes on a monitor's work area: where it is when it lies inside; moved in far enough
// when it reaches past an edge; at the work area's top-left on an axis where it is larger than the work
// area, so that its top-left part (the title and the close button) stays on the screen.
template <class Rect>
constexpr Rect PlaceInWorkArea(Rect window, const Rect& work) {
  auto along = [](int low, int high, int workLow, int workHigh) {
    const int size = high - low;
    if (size > workHigh - workLow || low < workLow) return workLow;
    return high > workHigh ? workHigh - size : low;
  };
  const int left = along(window.left, window.right, work.left, work.right);
  const int top = along(window.top, window.bottom, work.top, work.bottom);
  window.right += left - window.left;
  window.bottom += top - window.top;
  window.left = left;
  window.top = top;
  return window;
}

}  // namespace quorvel::ui
