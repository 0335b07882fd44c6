// The main window's outline, the regions cut from mask rows, the picture buttons' rules, and the colours of
// text on a painted surface with and without its picture.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "skin/button_rules.h"
#include "skin/dialog_looks.h"
#include "skin/mask_runs.h"
#include "skin/region.h"

namespace quorvel::skin {
namespace {

bool InFrame(const std::array<PixelRect, kFrameRectCount>& rects, int x, int y) {
  for (const PixelRect& rect : rects) {
    if (rect.contains(x, y)) return true;
  }
  return false;
}

TEST(FrameRegion, ElevenRectanglesOfTheMainWindow) {
  const std::array<PixelRect, kFrameRectCount> expected{{
      {0, 5, 1, 511}, {1, 3, 2, 513}, {2, 2, 3, 514}, {3, 1, 4, 515}, {4, 1, 5, 515}, {5, 1, 425, 516},
      {425, 1, 426, 515}, {426, 2, 427, 514}, {427, 2, 428, 514}, {428, 3, 429, 513}, {429, 5, 430, 511},
  }};
  EXPECT_EQ(FrameRegionRects(430, 516), expected);
}

// Per column: the first row inside the outline and the first row below it, counted from the edges.
struct ColumnSpan {
  int column;   // >= 0 from the left edge, < 0 from the right (-1 the last column)
  int top;
  int bottomInset;  // rows left out at the bottom
};

class FrameColumns : public testing::TestWithParam<std::pair<int, int>> {};

TEST_P(FrameColumns, CornersAreCutAsymmetricallyAndTheTopRowIsOutside) {
  const auto [w, h] = GetParam();
  const auto rects = FrameRegionRects(w, h);
  const std::vector<ColumnSpan> spans{{0, 5, 5},  {1, 3, 3},  {2, 2, 2},  {3, 1, 1},  {4, 1, 1},  {5, 1, 0},
                                      {-6, 1, 0}, {-5, 1, 1}, {-4, 2, 2}, {-3, 2, 2}, {-2, 3, 3}, {-1, 5, 5}};
  for (const ColumnSpan& span : spans) {
    const int x = span.column >= 0 ? span.column : w + span.column;
    for (int y = 0; y < h; ++y) {
      EXPECT_EQ(InFrame(rects, x, y), y >= span.top && y < h - span.bottomInset) << "x " << x << " y " << y;
    }
  }
  for (int x = 0; x < w; ++x) {
    EXPECT_FALSE(InFrame(rects, x, 0)) << "top row, x " << x;
    EXPECT_EQ(InFrame(rects, x, h - 1), x >= 5 && x < w - 5) << "bottom row, x " << x;
  }
  int area = 0;  // the rectangles do not overlap: the area adds up to the pixels inside
  for (const PixelRect& rect : rects) area += (rect.right - rect.left) * (rect.bottom - rect.top);
  int inside = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) inside += InFrame(rects, x, y) ? 1 : 0;
  EXPECT_EQ(area, inside);
}

INSTANTIATE_TEST_SUITE_P(Sizes, FrameColumns, testing::Values(std::pair{430, 516}, std::pair{24, 20}, std::pair{12, 11}));

TEST(FrameRegion, TinyWindowsKeepEveryRectangleInsideTheirEdges) {
  for (int w = 0; w <= 12; ++w) {
    for (int h = 0; h <= 12; ++h) {
      for (const PixelRect& rect : FrameRegionRects(w, h)) {
        if (rect.empty()) continue;
        EXPECT_TRUE(rect.left >= 0 && rect.top >= 0 && rect.right <= w && rect.bottom <= h) << w << "x" << h;
      }
    }
  }
}

// A mask row written as text: '.' white (transparent), '#' black, 'r' red.
std::vector<std::uint32_t> Row(const std::string& text) {
  std::vector<std::uint32_t> row;
  for (char c : text) row.push_back(c == '.' ? 0xFFFFFF : c == 'r' ? 0xFF0000 : 0x000000);
  return row;
}

struct MaskCase {
  std::string row;
  std::vector<PixelRun> runs;
};

class MaskRuns : public testing::TestWithParam<MaskCase> {};

TEST_P(MaskRuns, EveryMaximalRunOfNonWhitePixels) {
  const std::vector<std::uint32_t> row = Row(GetParam().row);
  EXPECT_EQ(OpaqueRuns(row, kMaskWhite), GetParam().runs) << GetParam().row;
}

INSTANTIATE_TEST_SUITE_P(Rows, MaskRuns,
                         testing::Values(MaskCase{"", {}}, MaskCase{"......", {}}, MaskCase{"######", {{0, 6}}},
                                         MaskCase{"#....#", {{0, 1}, {5, 6}}}, MaskCase{"..##r.#", {{2, 5}, {6, 7}}},
                                         MaskCase{".#.#.", {{1, 2}, {3, 4}}}));

TEST(MaskRuns, OnlyTheColourCountsNotTheUnusedTopByte) {
  const std::vector<std::uint32_t> row{0xFFFFFFFF, 0x00FFFFFF, 0xFF000000, 0xFFFFFFFE};
  EXPECT_EQ(OpaqueRuns(row, kMaskWhite), (std::vector<PixelRun>{{2, 4}}));
  EXPECT_EQ(OpaqueRuns(row, 0x000000), (std::vector<PixelRun>{{0, 2}, {3, 4}}));
}

// A mask scaled between two sets: its blended edge is drawn as the region is cut, pixel for pixel.
TEST(MaskRuns, AThresholdedMaskIsBlackWhereverTheRegionKeepsAPixel) {
  std::vector<std::uint32_t> mask{0xFFFFFF, 0xFEFEFE, 0x000000, 0x80FFFFFF, 0xFFFFFE, 0x7F7F7F, 0xFFFFFF};
  const std::vector<PixelRun> region = OpaqueRuns(mask, kMaskWhite);
  ThresholdMask(mask);
  EXPECT_EQ(mask, (std::vector<std::uint32_t>{kMaskWhite, 0, 0, kMaskWhite, 0, 0, kMaskWhite}));
  EXPECT_EQ(OpaqueRuns(mask, kMaskWhite), region);
}

TEST(ButtonRules, KindFromTheTemplateStyle) {
  const std::vector<std::pair<unsigned long, ButtonKind>> cases{
      {0x0, ButtonKind::Push},          {0x1, ButtonKind::Push},  // push, default push
      {0x2, ButtonKind::Push},          {0x4, ButtonKind::Push},  // plain check box and radio: not automatic
      {0x3, ButtonKind::CheckBox},      {0x9, ButtonKind::Radio},
      {0x6, ButtonKind::Push},                                    // automatic three-state
      {0x50010003, ButtonKind::CheckBox}, {0x50030009, ButtonKind::Radio},  // window style bits around it
  };
  for (const auto& [style, kind] : cases) EXPECT_EQ(ButtonKindFromStyle(style), kind) << std::hex << style;
}

TEST(ButtonRules, DrawModeIsCopyStretchOrTile) {
  const std::vector<std::pair<int, int>> cases{{-3, 0}, {0, 0}, {1, 1}, {2, 2}, {9, 2}};
  for (const auto& [given, taken] : cases) EXPECT_EQ(NormalisedDrawMode(given), taken) << given;
}

TEST(ButtonRules, TilesFillTheAreaWithTheLastCopiesCut) {
  const PixelRect area{2, 3, 12, 10};  // 10 x 7
  const std::vector<PixelRect> copies = TileCopies(area, 4, 3);
  const std::vector<PixelRect> expected{{2, 3, 6, 6},  {6, 3, 10, 6},  {10, 3, 12, 6}, {2, 6, 6, 9},  {6, 6, 10, 9},
                                        {10, 6, 12, 9}, {2, 9, 6, 10}, {6, 9, 10, 10}, {10, 9, 12, 10}};
  EXPECT_EQ(copies, expected);
  EXPECT_TRUE(TileCopies(area, 0, 3).empty());
  EXPECT_TRUE(TileCopies({5, 5, 5, 9}, 4, 3).empty());
}

// Over its picture a surface's text takes the look's colour; a picture missing (not embedded, not decoded)
// leaves the standard colours, and so do the controls that keep them anyway.
TEST(SurfaceColours, ThePicturesColourOnlyWhereThePictureIsShown) {
  const DialogLook& main = *FindDialogLook(102);
  const DialogLook& login = *FindDialogLook(134);
  struct Case {
    const DialogLook& look;
    int control;
    bool shown;
    TextColour colour;
  };
  const std::vector<Case> cases{
      {main, 1010, true, TextColour::Black},      {main, 1010, false, TextColour::Standard},
      {login, 1018, true, TextColour::White},     {login, 1018, false, TextColour::Standard},
      {login, 1016, true, TextColour::Standard},  {login, 1016, false, TextColour::Standard},  // kept plain
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DialogTextColour(c.look, c.control, c.shown), c.colour) << c.look.templateId << " " << c.control;
  }
  EXPECT_EQ(HeaderTextColour(true), TextColour::Black);
  EXPECT_EQ(HeaderTextColour(false), TextColour::Standard);
}

}  // namespace
}  // namespace quorvel::skin
