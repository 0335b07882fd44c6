// Scaling 96-DPI geometry to other DPIs: rounding, odd sizes, the window on the work area, the dialog
// template's reference pixels, the corners of the main window's outline, the scroll bars' metrics and the
// path a system DLL is loaded from.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdlib>
#include <utility>
#include <vector>

#include "framework/address_fields.h"
#include "framework/dialog_template.h"
#include "framework/dpi_scale.h"
#include "platform/system_library_path.h"
#include "skin/region.h"
#include "skin/scroll_geometry.h"

namespace quorvel {
namespace {

using ui::PixelBox;

struct ScaleCase {
  int pixels;
  int dpi;
  int scaled;
};

class ScaleToDpi : public testing::TestWithParam<ScaleCase> {};

TEST_P(ScaleToDpi, RoundsToTheNearestPixelHalvesAwayFromZero) {
  EXPECT_EQ(GetParam().scaled, ui::ScaleToDpi(GetParam().pixels, GetParam().dpi));
}

INSTANTIATE_TEST_SUITE_P(
    Values, ScaleToDpi,
    testing::Values(ScaleCase{7, 96, 7}, ScaleCase{0, 144, 0}, ScaleCase{1, 144, 2}, ScaleCase{3, 144, 5},
                    ScaleCase{-11, 144, -17}, ScaleCase{-1, 144, -2}, ScaleCase{431, 144, 647},
                    ScaleCase{516, 192, 1032}, ScaleCase{14, 120, 18}, ScaleCase{13, 110, 15},
                    ScaleCase{100, 110, 115}, ScaleCase{94, 168, 165}, ScaleCase{5, 0, 5}));

TEST(ScaleRect, NeighboursStillTouchAndOddSizesAreWithinAPixel) {
  const PixelBox left{3, 5, 104, 30};
  const PixelBox right{104, 5, 171, 30};
  for (int dpi : {110, 120, 144, 168, 192}) {
    const PixelBox a = ui::ScaleRectToDpi(left, dpi);
    const PixelBox b = ui::ScaleRectToDpi(right, dpi);
    EXPECT_EQ(a.right, b.left) << dpi;
    for (const auto& [scaled, original] : {std::pair{a, left}, std::pair{b, right}}) {
      EXPECT_LE(std::abs((scaled.right - scaled.left) - ui::ScaleToDpi(original.right - original.left, dpi)), 1);
      EXPECT_LE(std::abs((scaled.bottom - scaled.top) - ui::ScaleToDpi(original.bottom - original.top, dpi)), 1);
    }
  }
}

TEST(PlaceInWorkArea, InsideStaysPastAnEdgeMovesInLargerGoesToTheTopLeft) {
  const PixelBox work{0, 0, 1280, 1000};
  EXPECT_EQ((PixelBox{10, 20, 441, 536}), ui::PlaceInWorkArea(PixelBox{10, 20, 441, 536}, work));
  EXPECT_EQ((PixelBox{849, 484, 1280, 1000}), ui::PlaceInWorkArea(PixelBox{900, 600, 1331, 1116}, work));
  EXPECT_EQ((PixelBox{0, 0, 431, 516}), ui::PlaceInWorkArea(PixelBox{-40, -3, 391, 513}, work));
  EXPECT_EQ((PixelBox{300, 0, 1162, 1032}), ui::PlaceInWorkArea(PixelBox{300, 10, 1162, 1042}, work));
  EXPECT_EQ((PixelBox{0, 0, 1400, 1032}), ui::PlaceInWorkArea(PixelBox{50, 10, 1450, 1042}, work));
}

// An address editor's fields come from the size it has: at 96 DPI where the editor puts them itself, and at
// any DPI for a wider editor they spread over the whole width (none keeps the place of a smaller size).
TEST(AddressFields, QuartersOfThePlacedSizeWithInsetsAtTheDpi) {
  using Fields = std::array<PixelBox, 4>;
  EXPECT_EQ(ui::AddressFieldBoxes(120, 18, 96),
            (Fields{{{6, 2, 28, 16}, {36, 2, 58, 16}, {66, 2, 88, 16}, {96, 2, 118, 16}}}));
  EXPECT_EQ(ui::AddressFieldBoxes(240, 36, 192),
            (Fields{{{12, 4, 56, 32}, {72, 4, 116, 32}, {132, 4, 176, 32}, {192, 4, 236, 32}}}));
  EXPECT_EQ(ui::AddressFieldBoxes(181, 27, 144),  // 45 a quarter; the last pixel column stays empty
            (Fields{{{9, 3, 42, 24}, {54, 3, 87, 24}, {99, 3, 132, 24}, {144, 3, 177, 24}}}));
}

// A system DLL is named by its full path in the system folder; a name that could lead anywhere else is
// refused rather than joined.
TEST(SystemLibraryPath, OnlyABareNameInTheSystemFolder) {
  EXPECT_EQ("C:\\Windows\\system32\\shcore.dll", platform::SystemLibraryPath("C:\\Windows\\system32", "shcore.dll"));
  EXPECT_EQ("C:\\Windows\\system32\\user32.dll", platform::SystemLibraryPath("C:\\Windows\\system32\\", "user32.dll"));
  for (const char* name : {"", ".", "..", "..\\shcore.dll", "sub/shcore.dll", "D:shcore.dll", "\\\\host\\x.dll"}) {
    EXPECT_EQ("", platform::SystemLibraryPath("C:\\Windows\\system32", name)) << name;
  }
  EXPECT_EQ("", platform::SystemLibraryPath("", "shcore.dll"));
}

// A template as the resource compiler writes a DIALOGEX: the main window's size and font, a list view by
// class name and a button by class number with two bytes of creation data.
std::vector<std::byte> MainTemplate() {
  std::vector<std::byte> bytes;
  auto put = [&](unsigned value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::byte>((value >> (8 * i)) & 0xFF));
  };
  auto text = [&](const char* s) {
    for (; *s != 0; ++s) put(static_cast<unsigned char>(*s), 2);
    put(0, 2);
  };
  auto align = [&] { while (bytes.size() % 4 != 0) bytes.push_back(std::byte{0}); };
  auto item = [&](int x, int y, int cx, int cy, unsigned id) {
    align();
    put(0, 4), put(0, 4), put(0x50010000, 4), put(x, 2), put(y, 2), put(cx, 2), put(cy, 2), put(id, 4);
  };
  put(1, 2), put(0xFFFF, 2), put(0, 4), put(0x40000, 4), put(0x80000140, 4), put(2, 2);
  put(0, 2), put(0, 2), put(287, 2), put(344, 2), put(0, 2), put(0, 2), text("");  // no menu, class, caption
  put(8, 2), put(400, 2), put(0, 1), put(1, 1), text("Arial");
  item(14, 44, 179, 61, 1000), text("SysListView32"), text("Network Storage Device"), put(0, 2);
  item(211, 44, 68, 16, 1002), put(0xFFFF, 2), put(0x80, 2), text(""), put(2, 2), put(0xAB, 2);
  return bytes;
}

TEST(DialogTemplate, ReadsSizeFontAndControlsInOrder) {
  const auto info = ui::ReadDialogTemplate(MainTemplate());
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(0x80000140u, info->style);
  EXPECT_EQ(0x40000u, info->exStyle);
  EXPECT_EQ((std::pair{287, 344}), (std::pair{info->size.cx, info->size.cy}));
  EXPECT_EQ(8, info->pointSize);
  EXPECT_EQ(u"Arial", info->face);
  ASSERT_EQ(2u, info->controls.size());
  EXPECT_EQ((std::pair{211, 68}), (std::pair{info->controls[1].x, info->controls[1].cx}));
}

TEST(DialogTemplate, RefusesTheOldFormAndEveryTruncation) {
  std::vector<std::byte> bytes = MainTemplate();
  for (std::size_t size = 0; size < bytes.size(); ++size) {
    EXPECT_FALSE(ui::ReadDialogTemplate(std::span(bytes.data(), size)).has_value()) << size;
  }
  bytes[2] = std::byte{0};  // no extended signature
  EXPECT_FALSE(ui::ReadDialogTemplate(bytes).has_value());
}

// Arial 8 at 96 DPI has base units 6 x 12: the main window is 431 x 516, Refresh 102 x 24 at 317, 66.
TEST(DialogTemplate, ReferencePixelsScaleByOneFactorAcrossAndDown) {
  constexpr ui::BaseUnits kArial8{6, 12};
  EXPECT_EQ((PixelBox{0, 0, 431, 516}), ui::DialogUnitsToPixels({0, 0, 287, 344}, kArial8));
  const PixelBox refresh = ui::DialogUnitsToPixels({211, 44, 68, 16}, kArial8);
  EXPECT_EQ((PixelBox{317, 66, 419, 90}), refresh);
  EXPECT_EQ((PixelBox{476, 99, 629, 135}), ui::ScaleRectToDpi(refresh, 144));
  EXPECT_EQ((PixelBox{634, 132, 838, 180}), ui::ScaleRectToDpi(refresh, 192));
}

bool InFrame(const std::array<skin::PixelRect, skin::kFrameRectCount>& rects, int x, int y) {
  for (const auto& rect : rects) {
    if (rect.contains(x, y)) return true;
  }
  return false;
}

// At 192 DPI each pixel of the 96-DPI outline becomes two by two, in every corner.
TEST(FrameRegionAtDpi, DoubledCornersAt192) {
  const auto at96 = skin::FrameRegionRects(431, 516);
  const auto at192 = skin::FrameRegionRects(862, 1032, 192);
  for (int y = 0; y < 1032; y += (y < 14 || y > 1016) ? 1 : 97) {
    for (int x : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 400, 850, 851, 852, 853, 854, 855, 856, 857, 858, 859, 860, 861}) {
      EXPECT_EQ(InFrame(at96, x / 2, y / 2), InFrame(at192, x, y)) << x << "," << y;
    }
  }
}

// At 144 DPI the odd width keeps the corners as deep on the right as on the left; the rectangles stay
// inside the window and do not overlap.
TEST(FrameRegionAtDpi, OddSizeAt144) {
  const int w = 647, h = 775;
  const auto rects = skin::FrameRegionRects(w, h, 144);
  long area = 0;
  for (const auto& rect : rects) {
    EXPECT_TRUE(rect.left >= 0 && rect.right <= w && rect.top >= 0 && rect.bottom <= h);
    area += static_cast<long>(rect.right - rect.left) * (rect.bottom - rect.top);
  }
  long inside = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) inside += InFrame(rects, x, y) ? 1 : 0;
  EXPECT_EQ(area, inside);
  for (int x = 0; x < w; ++x) EXPECT_FALSE(InFrame(rects, x, 1)) << "rows 0 and 1 are the 96-DPI top row";
  for (int y : {7, 8}) {  // the outermost columns start 5 x 1.5 rows down on both sides
    EXPECT_EQ(y == 8, InFrame(rects, 0, y));
    EXPECT_EQ(y == 8, InFrame(rects, w - 1, y));
  }
  EXPECT_FALSE(InFrame(rects, 7, h - 1));
  EXPECT_TRUE(InFrame(rects, 8, h - 1));
  EXPECT_TRUE(InFrame(rects, w - 9, h - 1));
  EXPECT_FALSE(InFrame(rects, w - 8, h - 1));
}

// A bar twice the size at 192 DPI shows the same state with every metric doubled.
TEST(ScrollBarAtDpi, EveryMetricDoublesAt192) {
  using skin::BarSize, skin::ScrollAxis;
  for (ScrollAxis axis : {ScrollAxis::Vertical, ScrollAxis::Horizontal}) {
    const bool vertical = axis == ScrollAxis::Vertical;
    const BarSize small{axis, vertical ? 14 : 260, vertical ? 180 : 14};
    const BarSize large{axis, small.width * 2, small.height * 2, 192};
    EXPECT_EQ(2 * skin::InitialThumb(axis), skin::InitialThumb(axis, 192));
    for (int position = 0; position <= 10; ++position) {
      EXPECT_EQ(2 * skin::ThumbForPosition(small, 10, position), skin::ThumbForPosition(large, 10, position));
    }
    for (int mouse = 0; mouse < small.length(); mouse += 7) {
      EXPECT_EQ(skin::DragThumb(small, 10, mouse).target, skin::DragThumb(large, 10, 2 * mouse).target) << mouse;
    }
    const auto doubled = [](skin::PixelRect r) { return skin::PixelRect{2 * r.left, 2 * r.top, 2 * r.right, 2 * r.bottom}; };
    EXPECT_EQ(doubled(skin::FirstArrowOnPress(small)), skin::FirstArrowOnPress(large));
    EXPECT_EQ(doubled(skin::SecondArrow(small)), skin::SecondArrow(large));
    EXPECT_EQ(doubled(skin::ThumbHit(small, 60)), skin::ThumbHit(large, 120));
    const auto a = skin::PlacePieces(small, 60);
    const auto b = skin::PlacePieces(large, 120);
    EXPECT_EQ(doubled(a.track), b.track);
    EXPECT_EQ(doubled(a.thumb), b.thumb);
    EXPECT_EQ(doubled(a.secondArrow), b.secondArrow);
  }
}

}  // namespace
}  // namespace quorvel
