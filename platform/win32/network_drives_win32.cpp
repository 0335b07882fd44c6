#include "platform/win32/network_drives_win32.h"

#include <windows.h>
#include <winnetwk.h>

#include "platform/win32/wide_text.h"

namespace quorvel::platform {

namespace {

static_assert(kConnectUpdateProfile == CONNECT_UPDATE_PROFILE);
static_assert(kConnectInteractive == CONNECT_INTERACTIVE);
static_assert(kResourceTypeDisk == RESOURCETYPE_DISK);
static_assert(kErrorAlreadyAssigned == ERROR_ALREADY_ASSIGNED);
static_assert(kErrorCancelled == ERROR_CANCELLED);
static_assert(kErrorNotConnected == ERROR_NOT_CONNECTED);

// A credential in its wide form; nothing stays nothing, since the call tells a null text from an empty one.
struct Credential {
  explicit Credential(const std::optional<std::string>& text) : given(text.has_value()) {
    if (text) wide = WideOf(CP_ACP, *text);
  }
  const wchar_t* get() const { return given ? wide.c_str() : nullptr; }

  bool given;
  std::wstring wide;
};

}  // namespace

// The names go in their wide form, converted from UTF-8: the remote name is the box's share exactly,
// also where the ANSI code page cannot carry it.
std::uint32_t Win32NetworkDrives::AddConnection(const NetworkConnectionRequest& request,
                                                const std::optional<std::string>& password,
                                                const std::optional<std::string>& userName, std::uint32_t flags) {
  std::wstring localName = WideOf(CP_UTF8, request.localName);
  std::wstring remoteName = WideOf(CP_UTF8, request.remoteName);
  const Credential secret(password);
  const Credential user(userName);
  NETRESOURCEW resource{};  // scope, display type, usage and comment unused
  resource.dwType = request.type;
  resource.lpLocalName = localName.data();
  resource.lpRemoteName = remoteName.data();
  resource.lpProvider = nullptr;
  return WNetAddConnection3W(promptOwner_.load(), &resource, secret.get(), user.get(), flags);
}

std::uint32_t Win32NetworkDrives::CancelConnection(std::string_view localName, std::uint32_t flags, bool force) {
  const std::string name(localName);
  return WNetCancelConnection2A(name.c_str(), flags, force ? TRUE : FALSE);
}

}  // namespace quorvel::platform
