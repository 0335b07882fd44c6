#include "services/extract_resource.h"

#include <optional>
#include <string>

#include "protocol/fixed_text.h"

namespace quorvel {

namespace {

constexpr std::string_view kLocalDrive = "C:\\";

// Connects the write path as a network resource without credentials, so that a share that asks for none
// can be written; the outcome shows in the write and the existence test, not here.
void ConnectTo(platform::NetworkDrives& networkDrives, std::string_view writePath) {
  const FixedText<kRemoteNameBytes> remoteName(writePath);
  const platform::NetworkConnectionRequest request{0, "", remoteName.str()};
  for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
    if (networkDrives.AddConnection(request, std::string(), std::string(), 0) == platform::kNoError) break;
  }
}

bool Finish(ServiceState& state, bool ok) {
  state.LastCopyFailed = ok ? 0 : 1;
  return ok;
}

}  // namespace

bool ExtractResourceToFile(ServiceContext& context, std::string_view type, int id, std::string_view writePath,
                           std::string_view finalPath) {
  platform::Platform& platform = context.platform;
  const std::optional<std::string> payload = platform.payloads.Read(type, id);
  if (!payload) return Finish(context.state, false);

  ConnectTo(platform.networkDrives, writePath);
  bool written = platform.files.WriteBinary(writePath, *payload);
  std::string_view tested = writePath;
  if (writePath.find(kLocalDrive) != std::string_view::npos) {
    platform.files.Remove(finalPath);
    written = written && platform.files.Copy(writePath, finalPath, true);
    platform.files.Remove(writePath);
    tested = finalPath;
  }
  // A file left from an earlier upload must not pass for this one: the write itself has to succeed too.
  return Finish(context.state, written && platform.files.Exists(tested));
}

}  // namespace quorvel
