// What the console asks about the running Windows: its version and the logged-on user.
#pragma once

#include <optional>
#include <string>

namespace quorvel::platform {

struct OsVersion {
  unsigned platformId = 0;  // 1 Windows 9x, 2 NT, 3 CE
  unsigned major = 0;
  unsigned minor = 0;
  unsigned build = 0;
};

class OsInfo {
 public:
  virtual ~OsInfo() = default;
  // The version as GetVersionExA reports it; nothing when the query fails.
  virtual std::optional<OsVersion> Version() = 0;
  // The logged-on user's name (a 128-byte buffer); empty when it cannot be had.
  virtual std::string UserName() = 0;
};

}  // namespace quorvel::platform
