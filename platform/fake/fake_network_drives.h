// Network drive connections for tests: every call recorded with exactly what it was given, the results
// scripted per call. Connections made and dropped show in the FakeDrives behind it, as the system's
// would in WNetGetConnectionW.
#pragma once

#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/fake/fake_drives.h"
#include "platform/network_drives.h"

namespace quorvel::platform {

struct NetworkCall {
  enum class Kind { Add, Cancel };

  Kind kind = Kind::Add;
  NetworkConnectionRequest request;  // Cancel: only the local name
  std::optional<std::string> password;
  std::optional<std::string> userName;
  std::uint32_t flags = 0;
  bool force = false;  // Cancel only

  static NetworkCall Add(std::string localName, std::string remoteName, std::optional<std::string> password,
                         std::optional<std::string> userName, std::uint32_t flags) {
    return {Kind::Add, {kResourceTypeDisk, std::move(localName), std::move(remoteName)},
            std::move(password), std::move(userName), flags, false};
  }
  static NetworkCall Cancel(std::string localName, std::uint32_t flags, bool force) {
    return {Kind::Cancel, {0, std::move(localName), {}}, std::nullopt, std::nullopt, flags, force};
  }

  friend bool operator==(const NetworkCall&, const NetworkCall&) = default;
  friend std::ostream& operator<<(std::ostream& out, const NetworkCall& call);
};

class FakeNetworkDrives final : public NetworkDrives {
 public:
  explicit FakeNetworkDrives(FakeDrives& drives) : drives_(drives) {}

  // The results of the next calls of each operation, in order; each is used once. Unscripted, a call
  // answers as the system would: an add fails with kErrorAlreadyAssigned on a connected letter, a cancel
  // with kErrorNotConnected on a letter without a connection; otherwise both succeed.
  void QueueAddResult(std::uint32_t result) { addResults_.push_back(result); }
  void QueueCancelResult(std::uint32_t result) { cancelResults_.push_back(result); }

  std::uint32_t AddConnection(const NetworkConnectionRequest& request, const std::optional<std::string>& password,
                              const std::optional<std::string>& userName, std::uint32_t flags) override;
  std::uint32_t CancelConnection(std::string_view localName, std::uint32_t flags, bool force) override;

  const std::vector<NetworkCall>& calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }

 private:
  static std::uint32_t Next(std::deque<std::uint32_t>& scripted, std::uint32_t otherwise);

  FakeDrives& drives_;
  std::deque<std::uint32_t> addResults_;
  std::deque<std::uint32_t> cancelResults_;
  std::vector<NetworkCall> calls_;
};

}  // namespace quorvel::platform
