// A received request taken apart: header values, the decoded credentials and the typed fields.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "field_reader.h"
#include "packet.h"

namespace quorvel::boxsim {

struct RequestView {
  std::size_t length = 0;  // bytes of the datagram
  std::uint16_t magic = 0;
  std::uint16_t opcode = 0;
  std::uint16_t status = 0;
  ClientId client{};
  DeviceId device{};
  std::uint16_t payloadLength = 0;  // as declared in bytes 42-43
  bool hasCredentials = false;      // not a search, and the 128-byte block is there
  std::string user;
  std::string password;
  std::vector<Field> fields;  // views into the datagram, in order; the walk stops at a broken field

  // The text of the last field with this code, or nothing when the request has none.
  std::optional<std::string_view> LastText(std::uint16_t code) const;
};

// A request is at least a header long and starts with the request magic; every other datagram on
// the group (the replies of boxes among them) is none of the simulator's business.
bool IsRequest(Bytes datagram);

// Takes a request apart; nothing when the datagram is not a request. The fields follow the
// credential block for every opcode but search, and the header for a search.
std::optional<RequestView> ParseRequest(Bytes datagram);

}  // namespace quorvel::boxsim
