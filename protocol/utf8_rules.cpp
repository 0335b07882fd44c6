#include "utf8_rules.h"

#include <algorithm>

namespace quorvel {

namespace {

struct SequenceShape {
  std::size_t length = 0;  // 0: the byte starts no sequence
  unsigned char secondLow = 0x80;
  unsigned char secondHigh = 0xBF;
};

// The well-formed byte sequences of UTF-8: length by the lead byte, and the narrower range of the
// second byte that rules out overlong forms, surrogates and code points above U+10FFFF.
SequenceShape ShapeOf(unsigned char lead) {
  if (lead < 0x80) return {1};
  if (lead >= 0xC2 && lead <= 0xDF) return {2};
  if (lead == 0xE0) return {3, 0xA0, 0xBF};
  if (lead == 0xED) return {3, 0x80, 0x9F};
  if (lead >= 0xE1 && lead <= 0xEF) return {3};
  if (lead == 0xF0) return {4, 0x90, 0xBF};
  if (lead >= 0xF1 && lead <= 0xF3) return {4};
  if (lead == 0xF4) return {4, 0x80, 0x8F};
  return {};
}

}  // namespace

Utf8Step NextUtf8(std::string_view bytes) {
  const auto lead = static_cast<unsigned char>(bytes.front());
  const SequenceShape shape = ShapeOf(lead);
  if (shape.length == 0) return {0, 1, false};
  if (shape.length == 1) return {lead, 1, true};
  char32_t value = lead & (0x7F >> shape.length);
  for (std::size_t k = 1; k < shape.length; ++k) {
    if (k >= bytes.size()) return {0, k, false};
    const auto c = static_cast<unsigned char>(bytes[k]);
    const unsigned char low = k == 1 ? shape.secondLow : 0x80;
    const unsigned char high = k == 1 ? shape.secondHigh : 0xBF;
    if (c < low || c > high) return {0, k, false};
    value = value << 6 | (c & 0x3F);
  }
  return {value, shape.length, true};
}

bool IsWellFormedUtf8(std::string_view bytes) {
  while (!bytes.empty()) {
    const Utf8Step step = NextUtf8(bytes);
    if (!step.valid) return false;
    bytes.remove_prefix(step.length);
  }
  return true;
}

bool IsControlCharacter(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

}  // namespace quorvel
