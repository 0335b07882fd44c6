#include "replies.h"

#include <array>

namespace quorvel::boxsim {

namespace {

constexpr std::uint16_t kStatusAccepted = 1;
constexpr std::uint16_t kStatusRefused = 0;

std::uint16_t StatusOf(bool accepted) { return accepted ? kStatusAccepted : kStatusRefused; }

void AddPort(ReplyBuilder& reply, std::size_t index, const BoxPort& port) {
  reply.AddNumber(FLD_PORT_INDEX, static_cast<std::int64_t>(index));
  reply.AddText(FLD_PORT_IP, port.ip);
  reply.AddText(FLD_PORT_NETMASK, port.netmask);
  reply.AddText(FLD_PORT_GATEWAY, port.gateway);
  reply.AddText(FLD_PORT_ADDR_A, port.addrA);
  reply.AddText(FLD_PORT_ADDR_B, port.addrB);
  reply.AddText(FLD_PORT_DHCP, port.dhcp);
  reply.AddNumber(FLD_PORT_OPTION, port.option);
}

// A name field that a careful reader must not take: its length is 0 (Short), or it declares 64
// bytes of which only 4 follow (Overrun).
void AddBadField(ReplyBuilder& reply, BadField kind) {
  constexpr std::uint16_t kOverrunLength = 64;
  std::array<std::byte, 8> bytes{};
  WriteU16(bytes, 0, FLD_DEVICE_NAME);
  if (kind == BadField::Short) {
    reply.AddRaw(std::span(bytes).first(FIELD_HEADER_SIZE));
  } else if (kind == BadField::Overrun) {
    WriteU16(bytes, 2, kOverrunLength);
    bytes[4] = std::byte{'B'};
    bytes[5] = std::byte{'A'};
    bytes[6] = std::byte{'D'};
    reply.AddRaw(bytes);
  }
}

}  // namespace

Datagram SearchReply(const BoxState& box, const ClientId& client) {
  ReplyBuilder reply(OP_SEARCH, kStatusAccepted, client, box.id);
  reply.AddText(FLD_DEVICE_NAME, box.name);
  if (!box.faults.omitModel) reply.AddText(FLD_MODEL, box.model);
  reply.AddNumber(FLD_BONDED, box.bonded);
  reply.AddNumber(FLD_AUX_NUMBER, box.auxNumber);
  reply.AddText(FLD_AUX_TEXT, box.auxText);
  reply.AddNumber(FLD_PRIMARY_PORT, box.primaryPort);
  for (std::size_t i = 0; i < box.ports.size(); ++i) AddPort(reply, i, box.ports[i]);
  AddBadField(reply, box.faults.badField);
  return reply.Finish();
}

Datagram StatusReply(const BoxState& box, std::uint16_t opcode, bool accepted, const ClientId& client) {
  return ReplyBuilder(opcode, StatusOf(accepted), client, box.id).Finish();
}

Datagram SharesReply(const BoxState& box, bool accepted, const ClientId& client) {
  ReplyBuilder reply(OP_GET_SHARES, StatusOf(accepted), client, box.id);
  reply.AddText(FLD_DEVICE_NAME, accepted ? JoinShareNames(box.shares) : std::string());
  return reply.Finish();
}

std::string JoinShareNames(const std::vector<std::string>& names) {
  std::string joined;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) joined += ':';
    joined += names[i];
  }
  return joined;
}

void ApplyHeaderFaults(Datagram& reply, const BoxFaults& faults) {
  if (reply.size() < HEADER_SIZE) return;
  if (faults.wrongClientId) {
    for (std::size_t i = HDR_CLIENT_ID; i < HDR_CLIENT_ID + sizeof(ClientId); ++i) reply[i] = ~reply[i];
  }
  if (faults.wrongPayloadLength) {
    WriteU16(reply, HDR_PAYLOAD_LENGTH, static_cast<std::uint16_t>(ReadU16(reply, HDR_PAYLOAD_LENGTH) + 1));
  }
}

}  // namespace quorvel::boxsim
