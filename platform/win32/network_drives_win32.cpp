#include "platform/win32/network_drives_win32.h"

#include <windows.h>
#include <winnetwk.h>

namespace quorvel::platform {

namespace {

static_assert(kConnectUpdateProfile == CONNECT_UPDATE_PROFILE);
static_assert(kConnectInteractive == CONNECT_INTERACTIVE);
static_assert(kResourceTypeDisk == RESOURCETYPE_DISK);
static_assert(kErrorAlreadyAssigned == ERROR_ALREADY_ASSIGNED);
static_assert(kErrorCancelled == ERROR_CANCELLED);
static_assert(kErrorNotConnected == ERROR_NOT_CONNECTED);

// Nothing stays nothing: the call tells a null text from an empty one.
const char* TextOrNull(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }

}  // namespace

std::uint32_t Win32NetworkDrives::AddConnection(const NetworkConnectionRequest& request,
                                                const std::optional<std::string>& password,
                                                const std::optional<std::string>& userName, std::uint32_t flags) {
  // The structure's names are not const; the call only reads them.
  std::string localName = request.localName;
  std::string remoteName = request.remoteName;
  NETRESOURCEA resource{};  // scope, display type, usage and comment unused
  resource.dwType = request.type;
  resource.lpLocalName = localName.data();
  resource.lpRemoteName = remoteName.data();
  resource.lpProvider = nullptr;
  return WNetAddConnection2A(&resource, TextOrNull(password), TextOrNull(userName), flags);
}

std::uint32_t Win32NetworkDrives::CancelConnection(std::string_view localName, std::uint32_t flags, bool force) {
  const std::string name(localName);
  return WNetCancelConnection2A(name.c_str(), flags, force ? TRUE : FALSE);
}

}  // namespace quorvel::platform
