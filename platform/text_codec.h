// Texts from the boxes arrive as UTF-8; the console shows them in the PC's ANSI code page, and reads
// back in that code page what its controls hold.
#pragma once

#include <string>
#include <string_view>

namespace quorvel::platform {

class TextCodec {
 public:
  virtual ~TextCodec() = default;
  // UTF-8 to the ANSI code page, for display only: the result never names anything. Every character
  // that the code page cannot carry, and every byte that is not part of well-formed UTF-8, becomes
  // one '?'; no character becomes a look-alike of another (no best fit: a fullwidth backslash never
  // turns into a backslash). The result is taken up to its first NUL.
  virtual std::string Utf8ToAnsi(std::string_view utf8) = 0;
  // A text of the ANSI code page (as a control of the console holds it) to UTF-8; a byte sequence
  // that the code page does not define becomes a replacement character, which no host name holds.
  virtual std::string AnsiToUtf8(std::string_view ansi) = 0;
};

}  // namespace quorvel::platform
