// What the boxes do with one request: which of them answer, with what, after how long, and which
// settings they take over. No sockets and no clock here.
#pragma once

#include <chrono>
#include <vector>

#include "box_state.h"
#include "reply_builder.h"
#include "request_view.h"

namespace quorvel::boxsim {

struct OutgoingReply {
  std::chrono::milliseconds delay{0};  // from the arrival of the request
  Datagram bytes;
};

// Every box answers a search; a command is answered only by the box it names. Silent boxes never
// answer, a box with answerTwice contributes each reply twice, and one with repeatLateMs once more
// that much later; commandDelayMs holds back the replies to commands. Replies come in box order.
std::vector<OutgoingReply> HandleRequest(std::vector<BoxState>& boxes, const RequestView& request);

// The request carries a credential block whose user name and password are the box's.
bool CredentialsAccepted(const BoxState& box, const RequestView& request);

// Takes over ip, netmask, gateway and dhcp for the port named by the request's port index field;
// a field the request lacks leaves its value alone. False, with nothing changed, when the index is
// missing or names no port of the box.
bool ApplyNetworkSettings(BoxState& box, const RequestView& request);

}  // namespace quorvel::boxsim
