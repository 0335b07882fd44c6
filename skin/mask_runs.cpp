#include "skin/mask_runs.h"

namespace quorvel::skin {

void ThresholdMask(std::span<std::uint32_t> pixels) {
  for (std::uint32_t& pixel : pixels) pixel = (pixel & kMaskWhite) == kMaskWhite ? kMaskWhite : 0;
}

std::vector<PixelRun> OpaqueRuns(std::span<const std::uint32_t> row, std::uint32_t transparent) {
  constexpr std::uint32_t kColour = 0xFFFFFF;
  std::vector<PixelRun> runs;
  const int width = static_cast<int>(row.size());
  int x = 0;
  while (x < width) {
    while (x < width && (row[static_cast<std::size_t>(x)] & kColour) == (transparent & kColour)) ++x;
    const int begin = x;
    while (x < width && (row[static_cast<std::size_t>(x)] & kColour) != (transparent & kColour)) ++x;
    if (x > begin) runs.push_back({begin, x});
  }
  return runs;
}

}  // namespace quorvel::skin
