#include "app/inet_address.h"

#include <array>

namespace quorvel {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// One part at `at`: decimal, octal after a leading 0, hexadecimal after 0x. Nothing when it does not
// start with a digit, has a digit its base does not allow, or passes 32 bits.
std::optional<std::uint32_t> ReadPart(std::string_view text, std::size_t& at) {
  if (at >= text.size() || !IsDigit(text[at])) return std::nullopt;
  std::uint32_t base = 10;
  if (text[at] == '0') {
    base = 8;
    ++at;
    if (at < text.size() && (text[at] == 'x' || text[at] == 'X')) {
      base = 16;
      ++at;
    }
  }
  std::uint64_t value = 0;
  for (; at < text.size(); ++at) {
    const int digit = HexValue(text[at]);
    if (digit < 0 || (base == 10 && digit > 9)) break;
    if (base == 8 && digit > 7) {
      if (digit > 9) break;  // a letter ends the part
      return std::nullopt;    // 8 or 9 in an octal part
    }
    value = value * base + static_cast<std::uint64_t>(digit);
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

}  // namespace

std::optional<Octets> ParseInetAddress(std::string_view text) {
  std::array<std::uint32_t, 4> parts{};
  int count = 0;
  std::size_t at = 0;
  while (true) {
    const auto part = ReadPart(text, at);
    if (!part) return std::nullopt;
    parts[count++] = *part;
    if (at < text.size() && text[at] == '.') {
      if (count == 4) return std::nullopt;
      ++at;
      continue;
    }
    break;
  }
  for (; at < text.size(); ++at) {
    if (!IsSpace(text[at])) return std::nullopt;
  }

  // The last part fills the bytes that the earlier ones leave.
  std::uint32_t value = 0;
  for (int i = 0; i + 1 < count; ++i) {
    if (parts[i] > 0xFF) return std::nullopt;
    value |= parts[i] << (24 - 8 * i);
  }
  const std::uint32_t last = parts[count - 1];
  const std::uint32_t lastMax = count == 1 ? 0xFFFFFFFFu : 0xFFFFFFFFu >> (8 * (count - 1));
  if (last > lastMax) return std::nullopt;
  value |= last;
  return Octets{static_cast<int>(value >> 24), static_cast<int>((value >> 16) & 0xFF),
                static_cast<int>((value >> 8) & 0xFF), static_cast<int>(value & 0xFF)};
}

Octets EditorAddressOf(std::string_view text) {
  return ParseInetAddress(text).value_or(Octets{255, 255, 255, 255});
}

std::optional<Octets> GatewayEditorAddressOf(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const Octets address = EditorAddressOf(text);
  if (address == Octets{0, 0, 0, 0}) return std::nullopt;
  return address;
}

}  // namespace quorvel
