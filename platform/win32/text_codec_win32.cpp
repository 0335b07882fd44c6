#include "platform/win32/text_codec_win32.h"

#include <windows.h>

#include <array>
#include <cstring>

namespace quorvel::platform {

// A share name is held in 256 bytes; its UTF-16 form gets 1024 characters and the ANSI result 256
// bytes again, taken up to the first NUL.
std::string Win32TextCodec::Utf8ToAnsi(std::string_view utf8) {
  std::array<char, 256> source{};
  std::memcpy(source.data(), utf8.data(), std::min(utf8.size(), source.size() - 1));
  std::array<wchar_t, 1024> wide{};
  MultiByteToWideChar(CP_UTF8, 0, source.data(), static_cast<int>(source.size()), wide.data(),
                      static_cast<int>(wide.size()));
  std::array<char, 256> ansi{};
  WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, ansi.data(), static_cast<int>(ansi.size()) - 1, nullptr,
                      nullptr);
  return std::string(ansi.data());
}

}  // namespace quorvel::platform
