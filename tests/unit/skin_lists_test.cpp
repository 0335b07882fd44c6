// The scroll bars' and the progress bar's arithmetic: thumb positions and limits, hit rectangles, drag
// targets, what a release does, and the width of the blue part.
#include <gtest/gtest.h>

#include "skin/progress_geometry.h"
#include "skin/scroll_geometry.h"

namespace quorvel::skin {
namespace {

constexpr BarSize kVertical{ScrollAxis::Vertical, 14, 180};   // length 180: 100 pixels of track per full range
constexpr BarSize kHorizontal{ScrollAxis::Horizontal, 260, 14};  // length 260: 200 / 185 pixels

struct ThumbCase {
  BarSize bar;
  int limit;
  int position;
  int thumb;
};

class ThumbUpdate : public testing::TestWithParam<ThumbCase> {};

TEST_P(ThumbUpdate, ShowsPositionWithinLimits) {
  const ThumbCase& c = GetParam();
  EXPECT_EQ(c.thumb, ThumbForPosition(c.bar, c.limit, c.position));
}

INSTANTIATE_TEST_SUITE_P(
    Bars, ThumbUpdate,
    testing::Values(
        // vertical: 100 / limit pixels a unit, from 20; once the thumb's end passes h - 40 it jumps to h - 38
        ThumbCase{kVertical, 10, 0, 20}, ThumbCase{kVertical, 10, 3, 50}, ThumbCase{kVertical, 3, 1, 53},
        ThumbCase{kVertical, 10, 9, 110}, ThumbCase{kVertical, 100, 94, 114},
        ThumbCase{kVertical, 100, 95, 142}, ThumbCase{kVertical, 10, 10, 142},
        // a list that cannot scroll, and a bar too short for a track
        ThumbCase{kVertical, 0, 0, 20}, ThumbCase{{ScrollAxis::Vertical, 14, 50}, 5, 2, 20},
        // horizontal: 200 / limit; jumps to w - 38 once past w - 42
        ThumbCase{kHorizontal, 100, 0, 20}, ThumbCase{kHorizontal, 100, 50, 120},
        ThumbCase{kHorizontal, 100, 99, 218}, ThumbCase{kHorizontal, 100, 100, 222},
        ThumbCase{kHorizontal, -5, 3, 20}));

TEST(ScrollBar, FirstThumbPositions) {
  EXPECT_EQ(14, InitialThumb(ScrollAxis::Vertical));
  EXPECT_EQ(25, InitialThumb(ScrollAxis::Horizontal));
}

TEST(ScrollBar, ScrollLimitFromRangeAndPage) {
  EXPECT_EQ(30, ScrollLimit(39, 10));  // 40 rows, 10 visible: top row 0..30
  EXPECT_EQ(0, ScrollLimit(4, 5));
  EXPECT_EQ(7, ScrollLimit(7, 0));     // no page: the range's end
}

struct HitCase {
  BarSize bar;
  int x;
  int y;
  bool onFirstPress;
  bool onFirstRelease;
  bool onSecond;
  bool onThumb;  // thumb at 60
};

class HitRects : public testing::TestWithParam<HitCase> {};

TEST_P(HitRects, AnswerTheirArea) {
  const HitCase& c = GetParam();
  EXPECT_EQ(c.onFirstPress, FirstArrowOnPress(c.bar).contains(c.x, c.y));
  EXPECT_EQ(c.onFirstRelease, FirstArrowOnRelease(c.bar).contains(c.x, c.y));
  EXPECT_EQ(c.onSecond, SecondArrow(c.bar).contains(c.x, c.y));
  EXPECT_EQ(c.onThumb, ThumbHit(c.bar, 60).contains(c.x, c.y));
}

INSTANTIATE_TEST_SUITE_P(
    Bars, HitRects,
    testing::Values(HitCase{kVertical, 5, 10, false, false, false, false},
                    HitCase{kVertical, 16, 11, true, true, false, false},
                    HitCase{kVertical, 5, 17, false, true, false, false},
                    HitCase{kVertical, 17, 14, false, false, false, false},
                    HitCase{kVertical, 5, 143, false, false, true, false},   // h - 37
                    HitCase{kVertical, 5, 169, false, false, false, false},  // h - 11 is outside
                    HitCase{kVertical, 5, 60, false, false, false, true},
                    HitCase{kVertical, 5, 86, false, false, false, false},
                    HitCase{kHorizontal, 25, 19, true, true, false, false},
                    HitCase{kHorizontal, 234, 3, false, false, true, false},  // w - 26
                    HitCase{kHorizontal, 233, 3, false, false, false, false},
                    HitCase{kHorizontal, 85, 5, false, false, false, true},
                    HitCase{kHorizontal, 86, 5, false, false, false, false},
                    HitCase{kHorizontal, 85, 20, false, false, false, false}));

struct DragCase {
  BarSize bar;
  int limit;
  int mouse;
  ThumbDrag expected;
};

class Drag : public testing::TestWithParam<DragCase> {};

TEST_P(Drag, PutsThumbUnderMouseAndAsksForPosition) {
  const DragCase& c = GetParam();
  const ThumbDrag drag = DragThumb(c.bar, c.limit, c.mouse);
  EXPECT_EQ(c.expected.thumb, drag.thumb);
  EXPECT_EQ(c.expected.scrolls, drag.scrolls);
  if (c.expected.scrolls) {
    EXPECT_EQ(c.expected.target, drag.target);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Bars, Drag,
    testing::Values(
        // vertical: thumb = y - 13, target = trunc((thumb - 20) / (100 / limit))
        DragCase{kVertical, 30, 53, {40, 6, true}}, DragCase{kVertical, 30, 52, {39, 5, true}},
        DragCase{kVertical, 30, 5, {20, 0, true}},      // above the track: top row
        DragCase{kVertical, 30, 200, {142, 30, true}},  // below it: last position, last row
        DragCase{kVertical, 0, 53, {40, 0, false}},
        DragCase{{ScrollAxis::Vertical, 14, 80}, 10, 53, {42, 0, false}},
        // horizontal: thumb = x - 13, target = trunc((thumb - 25) / (185 / limit))
        DragCase{kHorizontal, 370, 138, {125, 200, true}},
        DragCase{kHorizontal, 370, 250, {222, 370, true}}));

struct ReleaseCase {
  BarSize bar;
  HeldFlags held;
  int x;
  int y;
  ReleaseAction action;  // thumb at 60
};

class Release : public testing::TestWithParam<ReleaseCase> {};

TEST_P(Release, LinesOrPagesOrNothing) {
  const ReleaseCase& c = GetParam();
  EXPECT_EQ(c.action, ActOnRelease(c.bar, 60, c.held, c.x, c.y));
}

constexpr HeldFlags kNone{};
constexpr HeldFlags kFirst{true, false, false};
constexpr HeldFlags kSecond{false, true, false};
constexpr HeldFlags kThumb{false, false, true};

INSTANTIATE_TEST_SUITE_P(
    Bars, Release,
    testing::Values(ReleaseCase{kVertical, kFirst, 5, 20, ReleaseAction::LineBack},
                    ReleaseCase{kVertical, kNone, 5, 20, ReleaseAction::None},  // arrow not pressed
                    ReleaseCase{kVertical, kSecond, 5, 150, ReleaseAction::LineForward},
                    ReleaseCase{kVertical, kNone, 5, 40, ReleaseAction::PageBack},
                    ReleaseCase{kVertical, kNone, 5, 100, ReleaseAction::PageForward},
                    ReleaseCase{kVertical, kNone, 5, 70, ReleaseAction::None},     // on the thumb
                    ReleaseCase{kVertical, kThumb, 5, 100, ReleaseAction::None},   // let go after a drag
                    ReleaseCase{kHorizontal, kNone, 10, 5, ReleaseAction::LineBack},
                    ReleaseCase{kHorizontal, kNone, 250, 5, ReleaseAction::LineForward},
                    ReleaseCase{kHorizontal, kNone, 40, 5, ReleaseAction::PageBack},
                    ReleaseCase{kHorizontal, kNone, 150, 5, ReleaseAction::PageForward},
                    ReleaseCase{kHorizontal, kThumb, 150, 5, ReleaseAction::None}));

TEST(ScrollBar, PiecesMeetAtTheThumbsEnds) {
  const BarPieces vertical = PlacePieces(kVertical, LimitThumb(kVertical, 1000));
  EXPECT_EQ((PixelRect{0, 0, 14, 16}), vertical.firstArrow);
  EXPECT_EQ((PixelRect{0, 164, 14, 180}), vertical.secondArrow);
  EXPECT_EQ(vertical.secondArrow.top, vertical.thumb.bottom);  // last position: on the down arrow
  EXPECT_EQ((PixelRect{0, 9, 14, 171}), vertical.track);
  const BarPieces horizontal = PlacePieces(kHorizontal, LimitThumb(kHorizontal, 0));
  EXPECT_EQ(horizontal.firstArrow.right, horizontal.thumb.left);  // minimum: beside the left arrow
  EXPECT_EQ((PixelRect{244, 0, 260, 14}), horizontal.secondArrow);
  EXPECT_EQ((PixelRect{15, 0, 248, 14}), horizontal.track);
}

struct ProgressCase {
  int lower;
  int upper;
  int position;
  int width;
  int fill;
};

class ProgressFill : public testing::TestWithParam<ProgressCase> {};

TEST_P(ProgressFill, IsThePositionsShare) {
  const ProgressCase& c = GetParam();
  EXPECT_EQ(c.fill, ProgressFillWidth(c.lower, c.upper, c.position, c.width));
}

INSTANTIATE_TEST_SUITE_P(Bars, ProgressFill,
                         testing::Values(ProgressCase{0, 100, 0, 300, 0}, ProgressCase{0, 100, 100, 300, 300},
                                         ProgressCase{10, 20, 10, 300, 0}, ProgressCase{10, 20, 20, 300, 300},
                                         ProgressCase{0, 3, 1, 100, 33}, ProgressCase{0, 90, 29, 301, 96},
                                         ProgressCase{5, 5, 5, 300, 0}, ProgressCase{0, 0, 7, 300, 0},
                                         ProgressCase{0, 100, 150, 300, 300}, ProgressCase{0, 100, -3, 300, 0},
                                         ProgressCase{100, 0, 25, 200, 150}));

}  // namespace
}  // namespace quorvel::skin
