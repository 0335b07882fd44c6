// Runs of a mask bitmap's pixel row: the stretches that a button's region keeps.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace quorvel::skin {

// Half-open span [begin, end) of pixel columns.
struct PixelRun {
  int begin;
  int end;
  bool operator==(const PixelRun&) const = default;
};

// Pixels as 0x00RRGGBB; the top byte (a 32-bit DIB's unused alpha) is ignored.
inline constexpr std::uint32_t kMaskWhite = 0xFFFFFF;

// The maximal runs of pixels whose colour differs from `transparent`, left to right. A row of the
// transparent colour only gives none.
std::vector<PixelRun> OpaqueRuns(std::span<const std::uint32_t> row, std::uint32_t transparent);

// A mask made for a scale between two picture sets has blended edge pixels. Every pixel whose colour is
// not white becomes black (white ones become plain white), so that drawing through the mask keeps exactly
// the pixels of the region OpaqueRuns gives.
void ThresholdMask(std::span<std::uint32_t> pixels);

}  // namespace quorvel::skin
