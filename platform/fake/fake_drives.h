// Drives for tests: connections and drive types scripted per drive text, every call recorded.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/drives.h"

namespace quorvel::platform {

class FakeDrives final : public Drives {
 public:
  // Unscripted letters are not connected and have no root directory.
  static constexpr unsigned kDefaultType = kDriveNoRootDir;

  // drive is the drive text ("Z:"). A connection stays until removed.
  void SetConnection(const std::string& drive, const std::string& remoteName);
  void RemoveConnection(const std::string& drive);
  void SetDriveType(const std::string& drive, unsigned type);
  // Whether the letter has a connection now; not recorded as a query.
  bool IsConnected(std::string_view drive) const { return connections_.find(drive) != connections_.end(); }

  std::optional<std::string> NetworkConnection(std::string_view drive) override;
  unsigned DriveType(std::string_view drive) override;

  // The drive texts that each operation was asked about, in call order.
  const std::vector<std::string>& connectionQueries() const { return connectionQueries_; }
  const std::vector<std::string>& typeQueries() const { return typeQueries_; }
  void ClearCalls();

 private:
  std::map<std::string, std::string, std::less<>> connections_;
  std::map<std::string, unsigned, std::less<>> types_;
  std::vector<std::string> connectionQueries_;
  std::vector<std::string> typeQueries_;
};

}  // namespace quorvel::platform
