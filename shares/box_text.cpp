#include "shares/box_text.h"

#include <algorithm>

namespace quorvel {

namespace {

// One code point of well-formed UTF-8 at the front of the text, and how many bytes it takes.
struct CodePoint {
  char32_t value = 0;
  std::size_t length = 0;  // 0: not well-formed
};

std::size_t LengthOf(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// The smallest code point that needs a sequence of this length: anything below is overlong.
constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};

CodePoint Decode(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text.front());
  const std::size_t length = LengthOf(lead);
  if (length == 0 || length > text.size()) return {};
  if (length == 1) return {lead, 1};
  char32_t value = lead & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[k]);
    if ((next & 0xC0) != 0x80) return {};
    value = value << 6 | (next & 0x3F);
  }
  const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
  if (value < kSmallest[length] || surrogate || value > 0x10FFFF) return {};
  return {value, length};
}

void Append(std::u16string& wide, char32_t value) {
  if (value < 0x10000) {
    wide += static_cast<char16_t>(value);
    return;
  }
  value -= 0x10000;
  wide += static_cast<char16_t>(0xD800 + (value >> 10));
  wide += static_cast<char16_t>(0xDC00 + (value & 0x3FF));
}

char16_t LowerAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool SameLetter(char16_t x, char16_t y) { return LowerAscii(x) == LowerAscii(y); }

}  // namespace

std::optional<std::u16string> WideFormOf(std::string_view utf8) {
  std::u16string wide;
  wide.reserve(utf8.size());
  while (!utf8.empty()) {
    const CodePoint point = Decode(utf8);
    if (point.length == 0) return std::nullopt;
    Append(wide, point.value);
    utf8.remove_prefix(point.length);
  }
  return wide;
}

bool SameIgnoringAsciiCase(std::string_view utf8a, std::string_view utf8b) {
  const std::optional<std::u16string> a = WideFormOf(utf8a);
  const std::optional<std::u16string> b = WideFormOf(utf8b);
  return a && b && a->size() == b->size() && std::equal(a->begin(), a->end(), b->begin(), SameLetter);
}

}  // namespace quorvel
