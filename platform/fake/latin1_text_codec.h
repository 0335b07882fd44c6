// A portable stand-in for the ANSI conversions in tests: UTF-8 to Latin-1, with "?" for what
// Latin-1 cannot hold and for bytes that are not valid UTF-8, and Latin-1 back to UTF-8.
#pragma once

#include "platform/text_codec.h"

namespace quorvel::platform {

class Latin1TextCodec final : public TextCodec {
 public:
  std::string Utf8ToAnsi(std::string_view utf8) override;
  std::string AnsiToUtf8(std::string_view ansi) override;
};

}  // namespace quorvel::platform
