// The width and height a PNG picture declares, read from its header without decoding it: a scale between
// two sets takes its size from the 100 % picture, which then need not be decoded at all.
#pragma once

#include <cstddef>
#include <optional>
#include <span>

namespace quorvel::skin {

struct PngDimensions {
  int width;
  int height;
  bool operator==(const PngDimensions&) const = default;
};

// Nothing for bytes that do not begin with the PNG signature and a header chunk, or that declare a width
// or height of 0 or above 2^31 - 1.
std::optional<PngDimensions> PngSize(std::span<const std::byte> bytes);

}  // namespace quorvel::skin
