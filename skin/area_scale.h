// Scaling a picture by area average: each new pixel is the mean of the old pixels under it, each
// weighted by how much of it lies under the new pixel. Used once per display scale for the pictures
// of a scale that has no set of its own (down from the next larger set, or up from the largest).
#pragma once

#include <cstdint>
#include <vector>

namespace quorvel::skin {

// Pixels as 0x00RRGGBB, rows from the top; each of the four bytes is averaged on its own.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  bool operator==(const Picture&) const = default;
};

// `source` at `width` x `height`, every byte of a new pixel rounded half up. Same size gives the same
// pixels; an empty source or size gives an empty picture.
Picture AreaScale(const Picture& source, int width, int height);

}  // namespace quorvel::skin
