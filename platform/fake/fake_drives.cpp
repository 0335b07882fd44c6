#include "platform/fake/fake_drives.h"

namespace quorvel::platform {

void FakeDrives::SetConnection(const std::string& drive, const std::string& remoteName) {
  connections_[drive] = remoteName;
}

void FakeDrives::RemoveConnection(const std::string& drive) { connections_.erase(drive); }

void FakeDrives::SetDriveType(const std::string& drive, unsigned type) { types_[drive] = type; }

std::optional<std::string> FakeDrives::NetworkConnection(std::string_view drive) {
  connectionQueries_.emplace_back(drive);
  const auto found = connections_.find(drive);
  if (found == connections_.end()) return std::nullopt;
  return found->second;
}

unsigned FakeDrives::DriveType(std::string_view drive) {
  typeQueries_.emplace_back(drive);
  const auto found = types_.find(drive);
  return found == types_.end() ? kDefaultType : found->second;
}

void FakeDrives::ClearCalls() {
  connectionQueries_.clear();
  typeQueries_.clear();
}

}  // namespace quorvel::platform
