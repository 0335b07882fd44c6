#include "skin/scroll_geometry.h"

#include <algorithm>

namespace quorvel::skin {

namespace {

constexpr bool IsVertical(const BarSize& bar) { return bar.axis == ScrollAxis::Vertical; }

// Pixels of track per scroll unit: what the thumb update uses, and what a drag uses (the horizontal bar
// drags over a slightly shorter track).
double UpdatePixelsPerUnit(const BarSize& bar, int limit) {
  return (bar.length() - (IsVertical(bar) ? 80 : 60)) / static_cast<double>(limit);
}

double DragPixelsPerUnit(const BarSize& bar, int limit) {
  return (bar.length() - (IsVertical(bar) ? 80 : 75)) / static_cast<double>(limit);
}

}  // namespace

int InitialThumb(ScrollAxis axis) { return axis == ScrollAxis::Vertical ? 14 : 25; }

PixelRect FirstArrowOnPress(const BarSize& bar) {
  return IsVertical(bar) ? PixelRect{0, 11, 17, 17} : PixelRect{0, 0, 26, 20};
}

PixelRect FirstArrowOnRelease(const BarSize& bar) {
  return IsVertical(bar) ? PixelRect{0, 11, 17, 26} : PixelRect{0, 0, 26, 20};
}

PixelRect SecondArrow(const BarSize& bar) {
  return IsVertical(bar) ? PixelRect{0, bar.height - 37, 17, bar.height - 11} : PixelRect{bar.width - 26, 0, bar.width, 20};
}

PixelRect ThumbHit(const BarSize& bar, int thumb) {
  return IsVertical(bar) ? PixelRect{0, thumb, 17, thumb + kThumbLength} : PixelRect{thumb, 0, thumb + kThumbLength, 20};
}

int ScrollLimit(int rangeMax, int page) { return rangeMax - std::max(page - 1, 0); }

int LimitThumb(const BarSize& bar, int thumb) {
  if (IsVertical(bar)) {
    if (thumb + kThumbLength > bar.height - 40) thumb = bar.height - 38;
  } else {
    if (thumb > bar.width - 42) thumb = bar.width - 38;
  }
  return std::max(thumb, kThumbMinimum);
}

int ThumbForPosition(const BarSize& bar, int limit, int position) {
  if (limit <= 0) return kThumbMinimum;
  const double perUnit = UpdatePixelsPerUnit(bar, limit);
  const int clamped = std::clamp(position, 0, limit);
  return LimitThumb(bar, static_cast<int>(perUnit * clamped) + 20);
}

ThumbDrag DragThumb(const BarSize& bar, int limit, int mouse) {
  const int thumb = mouse - 13;
  ThumbDrag drag{LimitThumb(bar, thumb), 0, false};
  if (limit <= 0) return drag;
  const double perUnit = DragPixelsPerUnit(bar, limit);
  if (perUnit <= 0) return drag;
  const double target = (thumb - (IsVertical(bar) ? 20 : 25)) / perUnit;
  drag.target = static_cast<int>(std::clamp(target, 0.0, static_cast<double>(limit)));
  drag.scrolls = true;
  return drag;
}

ReleaseAction ActOnRelease(const BarSize& bar, int thumb, const HeldFlags& held, int x, int y) {
  const bool onFirst = FirstArrowOnRelease(bar).contains(x, y);
  const bool onSecond = SecondArrow(bar).contains(x, y);
  // The vertical bar scrolls a line only for the arrow that was pressed; the horizontal one for any arrow.
  if (onFirst && (held.firstArrow || !IsVertical(bar))) return ReleaseAction::LineBack;
  if (onSecond && (held.secondArrow || !IsVertical(bar))) return ReleaseAction::LineForward;
  if (onFirst || onSecond || held.thumbPressed || ThumbHit(bar, thumb).contains(x, y)) return ReleaseAction::None;
  return thumb < bar.along(x, y) ? ReleaseAction::PageForward : ReleaseAction::PageBack;
}

BarPieces PlacePieces(const BarSize& bar, int thumb) {
  const int w = bar.width;
  const int h = bar.height;
  if (IsVertical(bar)) {
    return {{0, 9, kBarThickness, h - 9},
            {0, 0, kBarThickness, 16},
            {0, h - 16, kBarThickness, h},
            {0, thumb - 4, kBarThickness, thumb - 4 + kThumbLength}};
  }
  return {{15, 0, w - 12, kBarThickness},
          {0, 0, 16, kBarThickness},
          {w - 16, 0, w, kBarThickness},
          {thumb - 4, 0, thumb - 4 + kThumbLength, kBarThickness}};
}

}  // namespace quorvel::skin
