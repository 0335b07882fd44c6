#include "platform/win32/text_codec_win32.h"

#include "platform/win32/wide_text.h"

namespace quorvel::platform {

namespace {

// What Utf8ToAnsi puts for a character that the ANSI code page cannot carry.
constexpr char kUncarried[] = "?";

std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

}  // namespace

std::string Win32TextCodec::Utf8ToAnsi(std::string_view utf8) {
  const std::wstring wide = WideOf(CP_UTF8, UpToNul(utf8));
  // An ANSI code page of UTF-8 carries every character, and takes neither the flag nor a default
  // character. Any other gets both: a character it cannot carry exactly becomes "?", never the
  // code page's best-fit look-alike.
  if (GetACP() == CP_UTF8) return BytesOf(CP_ACP, 0, nullptr, wide);
  return BytesOf(CP_ACP, WC_NO_BEST_FIT_CHARS, kUncarried, wide);
}

std::string Win32TextCodec::AnsiToUtf8(std::string_view ansi) {
  return BytesOf(CP_UTF8, 0, nullptr, WideOf(CP_ACP, UpToNul(ansi)));
}

}  // namespace quorvel::platform
