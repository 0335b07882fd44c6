// The replies a box sends: its search reply, the status replies of the commands and the share
// list, and the header faults a misbehaving box applies to all of them.
#pragma once

#include <string>
#include <vector>

#include "box_state.h"
#include "reply_builder.h"

namespace quorvel::boxsim {

// Name, model, bonded, aux number, aux text, primary port, then per port: index, ip, netmask,
// gateway, addrA, addrB, dhcp, option. The box's omitModel and badField faults shape it.
Datagram SearchReply(const BoxState& box, const ClientId& client);

// A reply without fields whose status says whether the command was accepted (1) or not (0).
Datagram StatusReply(const BoxState& box, std::uint16_t opcode, bool accepted, const ClientId& client);

// Accepted: status 1 and one field with the share names joined by ":". Not accepted: status 0 and
// one empty field.
Datagram SharesReply(const BoxState& box, bool accepted, const ClientId& client);

std::string JoinShareNames(const std::vector<std::string>& names);

// wrongClientId inverts bytes 8-15; wrongPayloadLength adds one to bytes 42-43.
void ApplyHeaderFaults(Datagram& reply, const BoxFaults& faults);

}  // namespace quorvel::boxsim
