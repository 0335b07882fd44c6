#include "platform/win32/drives_win32.h"

#include <windows.h>
#include <winnetwk.h>

#include <cwchar>

#include "platform/win32/wide_text.h"

namespace quorvel::platform {

namespace {

// Room for a remote name: "\\", a server's name of up to 255 characters, "\" and a share of up to 269
// (a volume's name of 255 with "Recycle Bin - " before it), and the NUL. A longer one fails
// (ERROR_MORE_DATA) and so reads as not connected.
constexpr DWORD kRemoteNameChars = 2 + 255 + 1 + 269 + 1;

}  // namespace

// Read in the wide form and given as UTF-8, so that a share's name comes back exactly as it was
// mapped, whatever the ANSI code page can carry.
std::optional<std::string> Win32Drives::NetworkConnection(std::string_view drive) {
  const std::wstring localName = WideOf(CP_UTF8, drive);
  wchar_t remote[kRemoteNameChars] = {};
  DWORD size = kRemoteNameChars;  // set afresh for every call: the call may overwrite it
  // Anything but success, a remembered but unavailable connection included, is "not connected".
  if (WNetGetConnectionW(localName.c_str(), remote, &size) != NO_ERROR) return std::nullopt;
  return BytesOf(CP_UTF8, 0, nullptr, std::wstring_view(remote, wcsnlen(remote, kRemoteNameChars)));
}

unsigned Win32Drives::DriveType(std::string_view drive) {
  const std::string root = std::string(drive) + '\\';  // "Z:" → "Z:\"
  return GetDriveTypeA(root.c_str());
}

}  // namespace quorvel::platform
