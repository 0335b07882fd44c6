// The network drive seam over the real system: WNetAddConnection3W and WNetCancelConnection2A.
#pragma once

#include <windows.h>

#include <atomic>

#include "platform/network_drives.h"

namespace quorvel::platform {

class Win32NetworkDrives final : public NetworkDrives {
 public:
  std::uint32_t AddConnection(const NetworkConnectionRequest& request, const std::optional<std::string>& password,
                              const std::optional<std::string>& userName, std::uint32_t flags) override;
  std::uint32_t CancelConnection(std::string_view localName, std::uint32_t flags, bool force) override;

  // The window that owns the system's credential prompt (CONNECT_INTERACTIVE). The connection is made on
  // a worker thread while the window's own thread keeps it answering, so the prompt needs an owner given
  // explicitly; any thread may set or read it.
  void SetPromptOwner(HWND window) { promptOwner_.store(window); }

 private:
  std::atomic<HWND> promptOwner_{nullptr};
};

}  // namespace quorvel::platform
