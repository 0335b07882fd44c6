#include "skin/scroll_geometry.h"

#include <algorithm>

#include "framework/dpi_scale.h"

namespace quorvel::skin {

int BarSize::px(int pixels) const { return ui::ScaleToDpi(pixels, dpi); }

namespace {

constexpr bool IsVertical(const BarSize& bar) { return bar.axis == ScrollAxis::Vertical; }

// Pixels of track per scroll unit: what the thumb update uses, and what a drag uses (the horizontal bar
// drags over a slightly shorter track).
double UpdatePixelsPerUnit(const BarSize& bar, int limit) {
  return (bar.length() - bar.px(IsVertical(bar) ? 80 : 60)) / static_cast<double>(limit);
}

double DragPixelsPerUnit(const BarSize& bar, int limit) {
  return (bar.length() - bar.px(IsVertical(bar) ? 80 : 75)) / static_cast<double>(limit);
}

}  // namespace

int InitialThumb(ScrollAxis axis, int dpi) { return ui::ScaleToDpi(axis == ScrollAxis::Vertical ? 14 : 25, dpi); }

PixelRect FirstArrowOnPress(const BarSize& bar) {
  return IsVertical(bar) ? PixelRect{0, bar.px(11), bar.px(17), bar.px(17)} : PixelRect{0, 0, bar.px(26), bar.px(20)};
}

PixelRect FirstArrowOnRelease(const BarSize& bar) {
  return IsVertical(bar) ? PixelRect{0, bar.px(11), bar.px(17), bar.px(26)} : PixelRect{0, 0, bar.px(26), bar.px(20)};
}

PixelRect SecondArrow(const BarSize& bar) {
  return IsVertical(bar) ? PixelRect{0, bar.height - bar.px(37), bar.px(17), bar.height - bar.px(11)}
                         : PixelRect{bar.width - bar.px(26), 0, bar.width, bar.px(20)};
}

PixelRect ThumbHit(const BarSize& bar, int thumb) {
  const int length = bar.px(kThumbLength);
  return IsVertical(bar) ? PixelRect{0, thumb, bar.px(17), thumb + length} : PixelRect{thumb, 0, thumb + length, bar.px(20)};
}

int ScrollLimit(int rangeMax, int page) { return rangeMax - std::max(page - 1, 0); }

int LimitThumb(const BarSize& bar, int thumb) {
  if (IsVertical(bar)) {
    if (thumb + bar.px(kThumbLength) > bar.height - bar.px(40)) thumb = bar.height - bar.px(38);
  } else {
    if (thumb > bar.width - bar.px(42)) thumb = bar.width - bar.px(38);
  }
  return std::max(thumb, bar.px(kThumbMinimum));
}

int ThumbForPosition(const BarSize& bar, int limit, int position) {
  if (limit <= 0) return bar.px(kThumbMinimum);
  const double perUnit = UpdatePixelsPerUnit(bar, limit);
  const int clamped = std::clamp(position, 0, limit);
  return LimitThumb(bar, static_cast<int>(perUnit * clamped) + bar.px(20));
}

ThumbDrag DragThumb(const BarSize& bar, int limit, int mouse) {
  const int thumb = mouse - bar.px(13);
  ThumbDrag drag{LimitThumb(bar, thumb), 0, false};
  if (limit <= 0) return drag;
  const double perUnit = DragPixelsPerUnit(bar, limit);
  if (perUnit <= 0) return drag;
  const double target = (thumb - bar.px(IsVertical(bar) ? 20 : 25)) / perUnit;
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
  const int thickness = bar.px(kBarThickness);
  const int thumbStart = thumb - bar.px(4);
  const int thumbEnd = thumbStart + bar.px(kThumbLength);
  if (IsVertical(bar)) {
    return {{0, bar.px(9), thickness, h - bar.px(9)},
            {0, 0, thickness, bar.px(16)},
            {0, h - bar.px(16), thickness, h},
            {0, thumbStart, thickness, thumbEnd}};
  }
  return {{bar.px(15), 0, w - bar.px(12), thickness},
          {0, 0, bar.px(16), thickness},
          {w - bar.px(16), 0, w, thickness},
          {thumbStart, 0, thumbEnd, thickness}};
}

}  // namespace quorvel::skin
