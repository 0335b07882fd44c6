#include "platform/fake/fake_network_drives.h"

namespace quorvel::platform {

namespace {

void PrintText(std::ostream& out, const std::optional<std::string>& text) {
  if (text) {
    out << '"' << *text << '"';
  } else {
    out << "null";
  }
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const NetworkCall& call) {
  if (call.kind == NetworkCall::Kind::Cancel) {
    return out << "Cancel(" << call.request.localName << ", flags " << call.flags << ", force " << call.force << ")";
  }
  out << "Add(type " << call.request.type << ", " << call.request.localName << " -> " << call.request.remoteName
      << ", password ";
  PrintText(out, call.password);
  out << ", user ";
  PrintText(out, call.userName);
  return out << ", flags " << call.flags << ")";
}

std::uint32_t FakeNetworkDrives::Next(std::deque<std::uint32_t>& scripted, std::uint32_t otherwise) {
  if (scripted.empty()) return otherwise;
  const std::uint32_t result = scripted.front();
  scripted.pop_front();
  return result;
}

std::uint32_t FakeNetworkDrives::AddConnection(const NetworkConnectionRequest& request,
                                               const std::optional<std::string>& password,
                                               const std::optional<std::string>& userName, std::uint32_t flags) {
  calls_.push_back({NetworkCall::Kind::Add, request, password, userName, flags, false});
  // A connection without a local name uses no letter: it is made whatever letters are taken.
  const bool deviceless = request.localName.empty();
  const bool taken = !deviceless && drives_.IsConnected(request.localName);
  const std::uint32_t result = Next(addResults_, taken ? kErrorAlreadyAssigned : kNoError);
  if (result == kNoError && !deviceless) drives_.SetConnection(request.localName, request.remoteName);
  return result;
}

std::uint32_t FakeNetworkDrives::CancelConnection(std::string_view localName, std::uint32_t flags, bool force) {
  calls_.push_back(NetworkCall::Cancel(std::string(localName), flags, force));
  const std::uint32_t result = Next(cancelResults_, drives_.IsConnected(localName) ? kNoError : kErrorNotConnected);
  if (result == kNoError) drives_.RemoveConnection(std::string(localName));
  return result;
}

}  // namespace quorvel::platform
