// The drive seam over the real system: WNetGetConnectionW and GetDriveTypeA.
#pragma once

#include "platform/drives.h"

namespace quorvel::platform {

class Win32Drives final : public Drives {
 public:
  std::optional<std::string> NetworkConnection(std::string_view drive) override;
  unsigned DriveType(std::string_view drive) override;
};

}  // namespace quorvel::platform
