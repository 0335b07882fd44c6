#include "handling.h"

#include "replies.h"

namespace quorvel::boxsim {

namespace {

void TakeText(std::string& target, const RequestView& request, std::uint16_t code) {
  if (auto text = request.LastText(code)) target = std::string(*text);
}

std::optional<std::size_t> RequestedPort(const BoxState& box, const RequestView& request) {
  const auto text = request.LastText(FLD_PORT_INDEX);
  if (!text) return std::nullopt;
  const std::int32_t index = ReadNumber(*text);
  if (index < 0 || static_cast<std::size_t>(index) >= box.ports.size()) return std::nullopt;
  return static_cast<std::size_t>(index);
}

// The box's answer to a command addressed to it.
Datagram CommandReply(BoxState& box, const RequestView& request) {
  const bool accepted = CredentialsAccepted(box, request);
  const bool willing = accepted && !box.faults.refuse;
  switch (request.opcode) {
    case OP_CHECK_PASSWORD:
      return StatusReply(box, request.opcode, willing, request.client);
    case OP_SET_NETWORK: {
      const bool applied = willing && ApplyNetworkSettings(box, request);  // nothing changes unless willing
      return StatusReply(box, request.opcode, applied, request.client);
    }
    case OP_GET_SHARES:
      return SharesReply(box, accepted, request.client);
    default:
      return {};
  }
}

Datagram ReplyOf(BoxState& box, const RequestView& request) {
  if (request.opcode == OP_SEARCH) return SearchReply(box, request.client);
  if (request.device != box.id) return {};
  return CommandReply(box, request);
}

}  // namespace

std::vector<OutgoingReply> HandleRequest(std::vector<BoxState>& boxes, const RequestView& request) {
  std::vector<OutgoingReply> replies;
  for (BoxState& box : boxes) {
    if (box.faults.silent) continue;
    Datagram reply = ReplyOf(box, request);
    if (reply.empty()) continue;
    ApplyHeaderFaults(reply, box.faults);
    const std::chrono::milliseconds delay(box.replyDelayMs + (request.opcode == OP_SEARCH ? 0 : box.faults.commandDelayMs));
    if (box.faults.answerTwice) replies.push_back({delay, reply});
    replies.push_back({delay, reply});
    if (box.faults.repeatLateMs > 0) replies.push_back({delay + std::chrono::milliseconds(box.faults.repeatLateMs), reply});
  }
  return replies;
}

bool CredentialsAccepted(const BoxState& box, const RequestView& request) {
  return request.hasCredentials && request.user == box.user && request.password == box.password;
}

bool ApplyNetworkSettings(BoxState& box, const RequestView& request) {
  const auto index = RequestedPort(box, request);
  if (!index) return false;
  BoxPort& port = box.ports[*index];
  TakeText(port.ip, request, FLD_PORT_IP);
  TakeText(port.netmask, request, FLD_PORT_NETMASK);
  TakeText(port.gateway, request, FLD_PORT_GATEWAY);
  if (auto dhcp = request.LastText(FLD_PORT_DHCP)) port.dhcp = std::string(1, ReadNumber(*dhcp) != 0 ? '1' : '0');
  return true;
}

}  // namespace quorvel::boxsim
