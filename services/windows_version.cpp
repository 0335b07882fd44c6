#include "services/windows_version.h"

namespace quorvel {

namespace {

constexpr unsigned kPlatformWindows = 1;  // the 95, 98 and ME line
constexpr unsigned kPlatformNt = 2;
constexpr unsigned kPlatformCe = 3;

// The 95, 98 and ME line reports the version in the upper half of the build number.
const char* WindowsLineName(unsigned minor, unsigned build) {
  if (minor < 10) {
    if (build == 950) return "Windows 95";
    if (build >= 951 && build <= 1080) return "Windows 95 SP1";
    if (build > 1080) return "Windows 95 OSR2";
    return nullptr;
  }
  if (minor == 10) {
    if (build == 1998) return "Windows 98";
    if (build >= 1999 && build <= 2182) return "Windows 98 SP1";
    if (build >= 2183) return "Windows 98 SE";
    return nullptr;
  }
  if (minor == 90) return "Windows ME";
  return nullptr;
}

const char* NtName(unsigned major, unsigned minor) {
  if (major == 3 && minor == 51) return "Windows NT 3.51";
  if (major == 4 && minor == 0) return "Windows NT 4";
  if (major == 5 && minor == 0) return "Windows 2000";
  if (major == 5 && minor == 1) return "Windows XP";
  if (major == 6) return "Vista";
  return nullptr;
}

}  // namespace

std::string WindowsVersionName(const platform::OsVersion& version) {
  const char* name = nullptr;
  switch (version.platformId) {
    case kPlatformWindows:
      if (version.major == 4) name = WindowsLineName(version.minor, version.build & 0xFFFFu);
      break;
    case kPlatformNt:
      name = NtName(version.major, version.minor);
      break;
    case kPlatformCe:
      name = "Windows CE";
      break;
    default:
      break;
  }
  return name ? name : kUnknownWindowsVersion;
}

std::string GetWindowsVersionName(platform::OsInfo& os) {
  const auto version = os.Version();
  return version ? WindowsVersionName(*version) : std::string(kUnknownWindowsVersion);
}

}  // namespace quorvel
