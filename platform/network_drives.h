// The PC's network drive connections as the console makes and removes them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel::platform {

// Connection flags and the resource type (the Windows values, named apart from <winnetwk.h>'s macros).
inline constexpr std::uint32_t kConnectUpdateProfile = 0x1;  // remembered, and restored at the next logon
inline constexpr std::uint32_t kConnectInteractive = 0x8;    // the system may ask the user for credentials
inline constexpr std::uint32_t kResourceTypeDisk = 1;

// Results (the Windows values) that the console and the fakes name.
inline constexpr std::uint32_t kNoError = 0;
inline constexpr std::uint32_t kErrorAccessDenied = 5;
inline constexpr std::uint32_t kErrorAlreadyAssigned = 85;
inline constexpr std::uint32_t kErrorCancelled = 1223;
inline constexpr std::uint32_t kErrorNotConnected = 2250;

// What one connection asks for: a resource of a type, a local name ("Z:") and a remote UNC name
// ("\\server\share"); always without a provider. Both names are UTF-8, so that a share is addressed by
// exactly the name its box sent, whatever the ANSI code page can carry.
struct NetworkConnectionRequest {
  std::uint32_t type = 0;
  std::string localName;
  std::string remoteName;

  friend bool operator==(const NetworkConnectionRequest&, const NetworkConnectionRequest&) = default;
};

class NetworkDrives {
 public:
  virtual ~NetworkDrives() = default;
  // WNetAddConnection3W (its prompt owned by the main window). The password and the user name are texts of the ANSI code page, as the user
  // typed them. A password of nothing means the default password of the named user, an empty one
  // means none; a user name of nothing means the user context of the process. 0 on success.
  virtual std::uint32_t AddConnection(const NetworkConnectionRequest& request,
                                      const std::optional<std::string>& password,
                                      const std::optional<std::string>& userName, std::uint32_t flags) = 0;
  // WNetCancelConnection2A: drops the local name's connection; force drops it even with open files.
  // 0 on success.
  virtual std::uint32_t CancelConnection(std::string_view localName, std::uint32_t flags, bool force) = 0;
};

}  // namespace quorvel::platform
