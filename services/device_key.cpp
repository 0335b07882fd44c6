#include "services/device_key.h"

#include <cstddef>

namespace quorvel {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<DeviceId> DeviceIdFromKeyText(std::string_view text) {
  DeviceId id{};
  std::size_t count = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    if (count == id.size()) return std::nullopt;  // a ninth number
    if (text.size() - at > 2 && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X') &&
        HexDigit(text[at + 2]) >= 0) {
      at += 2;
    }
    const std::size_t start = at;
    unsigned value = 0;
    for (int digit; at < text.size() && (digit = HexDigit(text[at])) >= 0; ++at) {
      value = ((value << 4) | static_cast<unsigned>(digit)) & 0xFFu;  // the low 8 bits of any length
    }
    if (at == start) return std::nullopt;  // no number where one is due
    id[count++] = static_cast<std::uint8_t>(value);
    if (at < text.size()) ++at;  // the separator
  }
  if (count != id.size()) return std::nullopt;
  return id;
}

}  // namespace quorvel
