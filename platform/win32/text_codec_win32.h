// The ANSI code page conversions over the system's: MultiByteToWideChar and WideCharToMultiByte.
#pragma once

#include "platform/text_codec.h"

namespace quorvel::platform {

class Win32TextCodec final : public TextCodec {
 public:
  std::string Utf8ToAnsi(std::string_view utf8) override;
  std::string AnsiToUtf8(std::string_view ansi) override;
};

}  // namespace quorvel::platform
