#include "platform/win32/os_info_win32.h"

#include <windows.h>

namespace quorvel::platform {

std::optional<OsVersion> Win32OsInfo::Version() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;  // 148 bytes
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const BOOL ok = GetVersionExA(&info);
#pragma GCC diagnostic pop
  if (!ok) return std::nullopt;
  return OsVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

std::string Win32OsInfo::UserName() {
  char name[128] = {};
  DWORD size = sizeof name;
  if (!GetUserNameA(name, &size)) return {};
  return std::string(name);
}

}  // namespace quorvel::platform
