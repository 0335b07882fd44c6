#include "platform/fake/latin1_text_codec.h"

namespace quorvel::platform {

namespace {

// Length of the UTF-8 sequence that starts with this byte and the bits it contributes; 0 if invalid.
int SequenceLength(unsigned char lead, unsigned& bits) {
  if (lead < 0x80) { bits = lead; return 1; }
  if ((lead & 0xE0) == 0xC0) { bits = lead & 0x1F; return 2; }
  if ((lead & 0xF0) == 0xE0) { bits = lead & 0x0F; return 3; }
  if ((lead & 0xF8) == 0xF0) { bits = lead & 0x07; return 4; }
  return 0;
}

}  // namespace

std::string Latin1TextCodec::Utf8ToAnsi(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size() && utf8[i] != '\0';) {
    unsigned code = 0;
    const int length = SequenceLength(static_cast<unsigned char>(utf8[i]), code);
    bool valid = length > 0 && i + length <= utf8.size();
    for (int k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + k]);
      valid = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    out += valid && code <= 0xFF ? static_cast<char>(code) : '?';
    i += valid ? length : 1;
  }
  return out;
}

std::string Latin1TextCodec::AnsiToUtf8(std::string_view ansi) {
  std::string out;
  for (const char c : ansi.substr(0, ansi.find('\0'))) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | byte >> 6);
      out += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return out;
}

}  // namespace quorvel::platform
