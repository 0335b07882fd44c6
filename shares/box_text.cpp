#include "shares/box_text.h"

#include "protocol/utf8_rules.h"

namespace quorvel {

namespace {

void Append(std::u16string& wide, char32_t value) {
  if (value < 0x10000) {
    wide += static_cast<char16_t>(value);
    return;
  }
  value -= 0x10000;
  wide += static_cast<char16_t>(0xD800 + (value >> 10));
  wide += static_cast<char16_t>(0xDC00 + (value & 0x3FF));
}

}  // namespace

std::optional<std::u16string> WideFormOf(std::string_view utf8) {
  std::u16string wide;
  wide.reserve(utf8.size());
  while (!utf8.empty()) {
    const Utf8Step step = NextUtf8(utf8);
    if (!step.valid) return std::nullopt;
    Append(wide, step.value);
    utf8.remove_prefix(step.length);
  }
  return wide;
}

std::string_view WholeCharactersWithin(std::string_view utf8, std::size_t maxBytes) {
  if (utf8.size() <= maxBytes) return utf8;
  std::size_t cut = maxBytes;
  // Back to the lead byte of the sequence that the cut falls into (continuation bytes are 10xxxxxx).
  while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) --cut;
  return utf8.substr(0, cut);
}

// No byte of a multi-byte sequence is ASCII, so the bytes compare as the wide forms would, without
// building them.
bool SameIgnoringAsciiCase(std::string_view utf8a, std::string_view utf8b) {
  return EqualIgnoringAsciiCase(utf8a, utf8b) && IsWellFormedUtf8(utf8a) && IsWellFormedUtf8(utf8b);
}

}  // namespace quorvel
