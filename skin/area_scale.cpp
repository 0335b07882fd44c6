#include "skin/area_scale.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace quorvel::skin {

namespace {

// One old pixel under a new one, and how much of it: along an axis of `from` old and `to` new pixels,
// old pixel i spans [i * to, (i + 1) * to) and new pixel d spans [d * from, (d + 1) * from), so the
// weights of a new pixel add up to `from`.
struct Tap {
  int index;
  std::uint64_t weight;
};

std::vector<std::vector<Tap>> TapsOf(int from, int to) {
  std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(to));
  for (int d = 0; d < to; ++d) {
    const long long begin = static_cast<long long>(d) * from;
    const long long end = begin + from;
    for (long long i = begin / to; i * to < end; ++i) {
      const long long overlap = std::min(end, (i + 1) * to) - std::max(begin, i * to);
      taps[static_cast<std::size_t>(d)].push_back({static_cast<int>(i), static_cast<std::uint64_t>(overlap)});
    }
  }
  return taps;
}

}  // namespace

Picture AreaScale(const Picture& source, int width, int height) {
  if (source.width <= 0 || source.height <= 0 || width <= 0 || height <= 0 ||
      source.pixels.size() != static_cast<std::size_t>(source.width) * static_cast<std::size_t>(source.height)) {
    return {};
  }
  const auto across = TapsOf(source.width, width);
  const auto down = TapsOf(source.height, height);
  const std::uint64_t total = static_cast<std::uint64_t>(source.width) * static_cast<std::uint64_t>(source.height);
  Picture result{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::array<std::uint64_t, 4> sums{};
      for (const Tap& row : down[static_cast<std::size_t>(y)]) {
        const std::uint32_t* line = source.pixels.data() + static_cast<std::size_t>(row.index) * static_cast<std::size_t>(source.width);
        for (const Tap& column : across[static_cast<std::size_t>(x)]) {
          const std::uint64_t weight = row.weight * column.weight;
          const std::uint32_t pixel = line[column.index];
          for (std::size_t byte = 0; byte < sums.size(); ++byte) sums[byte] += weight * ((pixel >> (8 * byte)) & 0xFF);
        }
      }
      std::uint32_t pixel = 0;
      for (std::size_t byte = 0; byte < sums.size(); ++byte) {
        pixel |= static_cast<std::uint32_t>((sums[byte] + total / 2) / total) << (8 * byte);
      }
      result.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] = pixel;
    }
  }
  return result;
}

}  // namespace quorvel::skin
