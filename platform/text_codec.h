// Texts from the boxes arrive as UTF-8; the console shows them in the PC's ANSI code page.
#pragma once

#include <string>
#include <string_view>

namespace quorvel::platform {

class TextCodec {
 public:
  virtual ~TextCodec() = default;
  // Converts UTF-8 to the ANSI code page as the system does (unconvertible characters become the
  // code page's default character); the result is taken up to its first NUL.
  virtual std::string Utf8ToAnsi(std::string_view utf8) = 0;
};

}  // namespace quorvel::platform
