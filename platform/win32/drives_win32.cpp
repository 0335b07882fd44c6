#include "platform/win32/drives_win32.h"

#include <windows.h>
#include <winnetwk.h>

#include <cstring>

namespace quorvel::platform {

namespace {

// Room for a remote name. A longer one fails (ERROR_MORE_DATA) and so reads as not connected.
constexpr DWORD kRemoteNameBytes = 256;

}  // namespace

std::optional<std::string> Win32Drives::NetworkConnection(std::string_view drive) {
  const std::string localName(drive);
  char remote[kRemoteNameBytes] = {};
  DWORD size = sizeof remote;  // set afresh for every call: the call may overwrite it
  // Anything but success, a remembered but unavailable connection included, is "not connected".
  if (WNetGetConnectionA(localName.c_str(), remote, &size) != NO_ERROR) return std::nullopt;
  return std::string(remote, strnlen(remote, sizeof remote));
}

unsigned Win32Drives::DriveType(std::string_view drive) {
  const std::string root = std::string(drive) + '\\';  // "Z:" → "Z:\"
  return GetDriveTypeA(root.c_str());
}

}  // namespace quorvel::platform
