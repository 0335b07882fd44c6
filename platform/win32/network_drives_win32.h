// The network drive seam over the real system: WNetAddConnection2W and WNetCancelConnection2A.
#pragma once

#include "platform/network_drives.h"

namespace quorvel::platform {

class Win32NetworkDrives final : public NetworkDrives {
 public:
  std::uint32_t AddConnection(const NetworkConnectionRequest& request, const std::optional<std::string>& password,
                              const std::optional<std::string>& userName, std::uint32_t flags) override;
  std::uint32_t CancelConnection(std::string_view localName, std::uint32_t flags, bool force) override;
};

}  // namespace quorvel::platform
