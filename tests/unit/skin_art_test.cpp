// The pictures' sets per display scale, the area-average filter that makes the scales between them, and the
// size a picture declares in its header.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "skin/area_scale.h"
#include "skin/art_sets.h"
#include "skin/png_size.h"

namespace quorvel::skin {
namespace {

Picture Grey(int width, int height, std::vector<std::uint32_t> levels) {
  for (std::uint32_t& level : levels) level *= 0x010101;
  return {width, height, levels};
}

struct ScaleCase {
  const char* what;
  Picture source;
  int width;
  int height;
  Picture expected;
};

TEST(AreaScale, KnownBlocks) {
  const ScaleCase cases[] = {
      {"2x2 blocks to one pixel each", Grey(4, 2, {0, 10, 100, 100, 20, 30, 60, 100}), 2, 1, Grey(2, 1, {15, 90})},
      {"three to two: thirds", Grey(3, 1, {0, 30, 90}), 2, 1, Grey(2, 1, {10, 70})},
      {"three to two down", Grey(1, 3, {0, 30, 90}), 1, 2, Grey(1, 2, {10, 70})},
      {"halves round up", Grey(2, 1, {0, 1}), 1, 1, Grey(1, 1, {1})},
      {"odd 5x3 to one pixel", Grey(5, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}), 1, 1, Grey(1, 1, {8})},
      {"two to three: the middle is shared", Grey(2, 1, {0, 100}), 3, 1, Grey(3, 1, {0, 50, 100})},
      {"one to three", Grey(1, 1, {42}), 3, 2, Grey(3, 2, {42, 42, 42, 42, 42, 42})},
      {"bytes stay apart", Picture{2, 1, {0x00FF00FF, 0x0000FF00}}, 1, 1, Picture{1, 1, {0x00808080}}},
      {"no width", Grey(2, 1, {0, 1}), 0, 1, Picture{}},
      {"empty source", Picture{}, 3, 3, Picture{}},
      {"pixels missing", Picture{2, 2, {1, 2, 3}}, 1, 1, Picture{}},
  };
  for (const ScaleCase& c : cases) {
    EXPECT_EQ(AreaScale(c.source, c.width, c.height), c.expected) << c.what;
  }
}

// Any size to itself gives the same pixels; a flat picture stays flat at odd sizes up and down.
TEST(AreaScale, IdentityAndFlatAtOddSizes) {
  Picture mixed{7, 5, {}};
  for (std::uint32_t i = 0; i < 35; ++i) mixed.pixels.push_back((i * 2654435761U) & 0x00FFFFFF);
  EXPECT_EQ(AreaScale(mixed, 7, 5), mixed);
  const Picture flat{9, 7, std::vector<std::uint32_t>(63, 0x00123456)};
  for (const auto& [width, height] : std::vector<std::pair<int, int>>{{5, 3}, {8, 6}, {1, 1}, {13, 11}, {1, 7}}) {
    const Picture scaled = AreaScale(flat, width, height);
    EXPECT_EQ(scaled, (Picture{width, height, std::vector<std::uint32_t>(scaled.pixels.size(), 0x00123456)}))
        << width << "x" << height;
  }
}

struct SetCase {
  int dpi;
  std::size_t set;
  bool exact;
};

TEST(ArtSets, TheSetOfEachDpi) {
  const SetCase cases[] = {
      {96, 0, true},  {0, 0, true},   {72, 0, false},  {97, 1, false}, {106, 1, false}, {120, 1, true},
      {121, 2, false}, {144, 2, true}, {168, 3, true}, {180, 4, false}, {192, 4, true},  {288, 4, false},
  };
  for (const SetCase& c : cases) {
    EXPECT_EQ(ArtSetFor(c.dpi), c.set) << c.dpi;
    EXPECT_EQ(ArtSetIsExact(c.set, c.dpi), c.exact) << c.dpi;
  }
  EXPECT_EQ(ArtResourceId(284, 0), 284);
  EXPECT_EQ(ArtResourceId(284, 2), 2284);
}

// The program's sizes at a set's own DPI are the sizes make_art.sh draws: N x scale, rounded half up.
TEST(ArtSets, LengthsMatchTheDrawnSets) {
  for (const int percent : kArtScalePercents) {
    for (int length = 1; length <= 700; ++length) {
      ASSERT_EQ(ArtLength(length, percent * kArtBaseDpi / 100), (length * percent + 50) / 100) << length << " at " << percent;
    }
  }
  EXPECT_EQ(ArtLength(93, 106), 103);  // 102.69
  EXPECT_EQ(ArtLength(1, 24), 1);      // never below one pixel
  EXPECT_EQ(ArtLength(0, 192), 0);
  EXPECT_EQ(ArtLength(100, 0), 100);
}

// The start of a PNG file: the signature, then the header chunk's length, type, width and height.
std::vector<std::byte> PngStart(std::uint32_t width, std::uint32_t height, std::uint32_t length = 13) {
  std::vector<std::byte> bytes;
  for (const int b : {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A}) bytes.push_back(static_cast<std::byte>(b));
  for (const std::uint32_t value : {length, 0x49484452u, width, height}) {  // 0x49484452: "IHDR"
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::byte>((value >> shift) & 0xFF));
  }
  return bytes;
}

TEST(PngSize, TheHeadersWidthAndHeightAndNothingForAnythingElse) {
  EXPECT_EQ(PngSize(PngStart(93, 25)), (PngDimensions{93, 25}));
  EXPECT_EQ(PngSize(PngStart(0x7FFFFFFF, 1)), (PngDimensions{0x7FFFFFFF, 1}));
  std::vector<std::byte> bytes = PngStart(93, 25);
  for (std::size_t size = 0; size < bytes.size(); ++size) {
    EXPECT_FALSE(PngSize(std::span(bytes).first(size))) << "cut to " << size;
  }
  for (const auto& bad : {PngStart(0, 25), PngStart(93, 0), PngStart(0x80000000, 1), PngStart(93, 25, 12)}) {
    EXPECT_FALSE(PngSize(bad));
  }
  bytes[1] = std::byte{'J'};  // not the signature
  EXPECT_FALSE(PngSize(bytes));
  bytes = PngStart(93, 25);
  bytes[12] = std::byte{'i'};  // another chunk first
  EXPECT_FALSE(PngSize(bytes));
}

}  // namespace
}  // namespace quorvel::skin
