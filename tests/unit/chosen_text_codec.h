// A codec that hands each call to the one the test chooses, so that a fixture that builds the main
// window with one codec can run with another.
#pragma once

#include <string>
#include <string_view>

#include "platform/text_codec.h"

namespace quorvel::testkit {

class ChosenTextCodec final : public platform::TextCodec {
 public:
  explicit ChosenTextCodec(platform::TextCodec& codec) : codec_(&codec) {}
  void Use(platform::TextCodec& codec) { codec_ = &codec; }

  std::string Utf8ToAnsi(std::string_view utf8) override { return codec_->Utf8ToAnsi(utf8); }
  std::string AnsiToUtf8(std::string_view ansi) override { return codec_->AnsiToUtf8(ansi); }

 private:
  platform::TextCodec* codec_;
};

}  // namespace quorvel::testkit
