// UTF-8 to the ANSI code page through UTF-16, as the system converts.
#pragma once

#include "platform/text_codec.h"

namespace quorvel::platform {

class Win32TextCodec final : public TextCodec {
 public:
  std::string Utf8ToAnsi(std::string_view utf8) override;
};

}  // namespace quorvel::platform
