#include "iconv_text_codec.h"

#include <cerrno>
#include <stdexcept>

namespace quorvel::testkit {

namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";  // U+FFFD

iconv_t Open(const char* to, const char* from) {
  const iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("no iconv for ") + from);
  return converter;
}

// The length of the UTF-8 sequence that a lead byte starts (1 for a byte that starts none).
std::size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

}  // namespace

IconvTextCodec::IconvTextCodec(const char* codePage)
    : toAnsi_(Open(codePage, "UTF-8")), toUtf8_(Open("UTF-8", codePage)) {}

IconvTextCodec::~IconvTextCodec() {
  iconv_close(toAnsi_);
  iconv_close(toUtf8_);
}

std::string IconvTextCodec::Convert(iconv_t converter, std::string_view text, std::string_view instead,
                                    bool fromUtf8) {
  text = text.substr(0, text.find('\0'));
  std::string out;
  while (!text.empty()) {
    char buffer[256];
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* at = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    const std::size_t done = iconv(converter, &in, &inLeft, &at, &outLeft);
    out.append(buffer, static_cast<std::size_t>(at - buffer));
    text.remove_prefix(text.size() - inLeft);
    if (done != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    // EILSEQ or EINVAL: the next character cannot be converted.
    const std::size_t skip = fromUtf8 ? SequenceLength(static_cast<unsigned char>(text.front())) : 1;
    out += instead;
    text.remove_prefix(std::min(skip, text.size()));
  }
  return out;
}

std::string IconvTextCodec::Utf8ToAnsi(std::string_view utf8) { return Convert(toAnsi_, utf8, "?", true); }

std::string IconvTextCodec::AnsiToUtf8(std::string_view ansi) {
  return Convert(toUtf8_, ansi, kReplacementUtf8, false);
}

}  // namespace quorvel::testkit
