#include "field_reader.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace quorvel {

std::optional<Field> FieldReader::Next() {
  if (position_ >= data_.size() || data_.size() - position_ < FIELD_HEADER_SIZE) return std::nullopt;
  const std::uint16_t code = ReadU16(data_, position_);
  const std::uint16_t length = ReadU16(data_, position_ + 2);
  if (length < FIELD_HEADER_SIZE || length > data_.size() - position_) {
    position_ = data_.size();
    return std::nullopt;
  }
  Field field{code, data_.subspan(position_ + FIELD_HEADER_SIZE, length - FIELD_HEADER_SIZE)};
  position_ += length;
  return field;
}

std::string_view ValueText(Bytes value) {
  const char* text = reinterpret_cast<const char*>(value.data());
  const void* nul = std::memchr(text, 0, value.size());
  return std::string_view(text, nul ? static_cast<const char*>(nul) - text : value.size());
}

std::int32_t ReadNumber(std::string_view text) {
  std::size_t i = 0;
  auto isBlank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (i < text.size() && isBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = std::min(magnitude * 10 + (text[i] - '0'), kLimit);
  }
  if (negative) return static_cast<std::int32_t>(-magnitude);
  return static_cast<std::int32_t>(std::min(magnitude, kLimit - 1));
}

}  // namespace quorvel
