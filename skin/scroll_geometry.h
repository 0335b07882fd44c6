// The arithmetic of the two bitmap scroll bars beside a skinned list: where the thumb stands for the list's
// scroll position, where the arrows and the thumb answer the mouse, which list position a dragged thumb
// asks for, and what a release of the mouse button does. Coordinates are the bar's client pixels; every
// rectangle has exclusive right and bottom edges.
#pragma once

#include "skin/pixel_rect.h"

namespace quorvel::skin {

enum class ScrollAxis { Vertical, Horizontal };

// A bar's axis, client size and DPI. Every distance below is written in 96-DPI pixels and scaled to the
// bar's DPI (framework/dpi_scale.h); the numbers in the comments are those at 96 DPI.
struct BarSize {
  ScrollAxis axis;
  int width;
  int height;
  int dpi = 96;
  int length() const { return axis == ScrollAxis::Vertical ? height : width; }
  // The coordinate of a point along the bar.
  int along(int x, int y) const { return axis == ScrollAxis::Vertical ? y : x; }
  // 96-DPI pixels at the bar's DPI.
  int px(int pixels) const;
};

inline constexpr int kBarThickness = 14;
inline constexpr int kThumbLength = 26;
inline constexpr int kThumbMinimum = 20;

// The thumb position of a new bar, before the first update.
int InitialThumb(ScrollAxis axis, int dpi = 96);

// Hit rectangles: the first arrow (up or left) as a press and as a release sees it, the second arrow (down
// or right), and the thumb at position `thumb`.
PixelRect FirstArrowOnPress(const BarSize& bar);
PixelRect FirstArrowOnRelease(const BarSize& bar);
PixelRect SecondArrow(const BarSize& bar);
PixelRect ThumbHit(const BarSize& bar, int thumb);

// The list's scroll limit from its scroll range and page (the largest position the list can scroll to).
int ScrollLimit(int rangeMax, int page);

// The thumb's last position and its minimum applied to `thumb`.
int LimitThumb(const BarSize& bar, int thumb);

// The thumb position that shows scroll position `position` of `limit`, limited. A bar whose list cannot
// scroll (limit 0 or less), or too short to move a thumb, keeps the thumb at its minimum.
int ThumbForPosition(const BarSize& bar, int limit, int position);

// The thumb dragged with the mouse at coordinate `mouse` along the bar: where the thumb goes (limited) and the
// scroll position it asks of the list (within 0..limit). `scrolls` is false when the bar cannot drag (limit
// 0 or less, or the bar too short for the arithmetic).
struct ThumbDrag {
  int thumb;
  int target;
  bool scrolls;
};
ThumbDrag DragThumb(const BarSize& bar, int limit, int mouse);

// What a bar does when the mouse button is let go at (x, y).
enum class ReleaseAction { None, LineBack, LineForward, PageBack, PageForward };
struct HeldFlags {
  bool firstArrow = false;
  bool secondArrow = false;
  bool thumbPressed = false;
};
ReleaseAction ActOnRelease(const BarSize& bar, int thumb, const HeldFlags& held, int x, int y);

// Where the pieces are drawn: the track strip, the two arrows and the thumb (each at its bitmap's size).
struct BarPieces {
  PixelRect track;
  PixelRect firstArrow;
  PixelRect secondArrow;
  PixelRect thumb;
};
BarPieces PlacePieces(const BarSize& bar, int thumb);

}  // namespace quorvel::skin
