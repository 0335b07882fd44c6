#include "skin/png_size.h"

#include <array>
#include <cstdint>

namespace quorvel::skin {

namespace {

constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::array<std::uint8_t, 4> kHeaderType{'I', 'H', 'D', 'R'};
constexpr std::size_t kHeaderLengthAt = 8;  // the first chunk: length, type, then width and height
constexpr std::size_t kHeaderTypeAt = 12;
constexpr std::size_t kWidthAt = 16;
constexpr std::size_t kHeightAt = 20;
constexpr std::uint32_t kHeaderLength = 13;

std::uint32_t BigEndian(std::span<const std::byte> bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = (value << 8) | std::to_integer<std::uint32_t>(bytes[at + i]);
  return value;
}

bool Matches(std::span<const std::byte> bytes, std::size_t at, std::span<const std::uint8_t> expected) {
  for (std::size_t i = 0; i < expected.size(); ++i) {
    if (std::to_integer<std::uint8_t>(bytes[at + i]) != expected[i]) return false;
  }
  return true;
}

}  // namespace

std::optional<PngDimensions> PngSize(std::span<const std::byte> bytes) {
  if (bytes.size() < kHeightAt + 4 || !Matches(bytes, 0, kSignature) || !Matches(bytes, kHeaderTypeAt, kHeaderType) ||
      BigEndian(bytes, kHeaderLengthAt) != kHeaderLength) {
    return std::nullopt;
  }
  const std::uint32_t width = BigEndian(bytes, kWidthAt);
  const std::uint32_t height = BigEndian(bytes, kHeightAt);
  constexpr std::uint32_t kLargest = 0x7FFFFFFF;
  if (width == 0 || height == 0 || width > kLargest || height > kLargest) return std::nullopt;
  return PngDimensions{static_cast<int>(width), static_cast<int>(height)};
}

}  // namespace quorvel::skin
