// The name of the running Windows version ("Windows XP", "Vista", ...). Callers look for parts of it:
// "ME" and "98" (the login dialog), "NT" (the share mapping).
#pragma once

#include <string>

#include "platform/os_info.h"

namespace quorvel {

inline constexpr const char* kUnknownWindowsVersion = "unknown Windows version";

// The name for a version as the system reports it; kUnknownWindowsVersion for every version not named.
std::string WindowsVersionName(const platform::OsVersion& version);

// Asks the system for its version; kUnknownWindowsVersion when the query fails.
std::string GetWindowsVersionName(platform::OsInfo& os);

}  // namespace quorvel
