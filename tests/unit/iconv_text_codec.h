// The ANSI code page conversions of a real code page, for tests: glibc's iconv stands in for the
// system's conversion, with the same promises (a character the code page cannot carry, or a byte
// that is not well-formed, becomes "?"; no best fit). With "CP932" the console's texts take the
// double-byte forms whose second byte may be a backslash ("表" is 95 5C) or an ASCII letter.
#pragma once

#include <iconv.h>

#include <string>
#include <string_view>

#include "platform/text_codec.h"

namespace quorvel::testkit {

class IconvTextCodec final : public platform::TextCodec {
 public:
  explicit IconvTextCodec(const char* codePage);
  ~IconvTextCodec() override;
  IconvTextCodec(const IconvTextCodec&) = delete;
  IconvTextCodec& operator=(const IconvTextCodec&) = delete;

  std::string Utf8ToAnsi(std::string_view utf8) override;
  std::string AnsiToUtf8(std::string_view ansi) override;

 private:
  // Converts the text piece by piece; a piece that does not convert gives `instead` and is skipped
  // by one byte (from the ANSI side) or one UTF-8 sequence (from the UTF-8 side).
  static std::string Convert(iconv_t converter, std::string_view text, std::string_view instead, bool fromUtf8);

  iconv_t toAnsi_;
  iconv_t toUtf8_;
};

}  // namespace quorvel::testkit
