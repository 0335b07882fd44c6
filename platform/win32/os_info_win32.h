// The running Windows' version and user, from GetVersionExA and GetUserNameA.
#pragma once

#include "platform/os_info.h"

namespace quorvel::platform {

class Win32OsInfo final : public OsInfo {
 public:
  std::optional<OsVersion> Version() override;
  std::string UserName() override;
};

}  // namespace quorvel::platform
