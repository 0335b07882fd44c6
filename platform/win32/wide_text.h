// Texts between a code page and the system's wide form: MultiByteToWideChar and WideCharToMultiByte.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace quorvel::platform {

// Bytes that are not well-formed in the code page become U+FFFD (UTF-8) or the code page's default
// character. Empty text for an empty one, or when the system refuses.
std::wstring WideOf(UINT codePage, std::string_view text);

// flags and defaultChar as WideCharToMultiByte takes them.
std::string BytesOf(UINT codePage, DWORD flags, const char* defaultChar, std::wstring_view wide);

}  // namespace quorvel::platform
