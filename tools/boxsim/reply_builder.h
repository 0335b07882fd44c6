// Assembles one reply datagram: the reply header, then typed fields written as the protocol codes them.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "packet.h"

namespace quorvel::boxsim {

using Datagram = std::vector<std::byte>;

class ReplyBuilder {
 public:
  // Header: reply magic, the opcode answered, the status, the requester's ClientId, the box's DeviceId.
  ReplyBuilder(std::uint16_t opcode, std::uint16_t status, const ClientId& client, const DeviceId& device);

  // A field with a text value. A field that no longer fits the 4096-byte buffer is left out.
  void AddText(std::uint16_t code, std::string_view value);
  // A field with a number written as decimal text.
  void AddNumber(std::uint16_t code, std::int64_t value);
  // Bytes placed as they are, for fields that are deliberately not well-formed.
  void AddRaw(Bytes bytes);

  // The datagram, with the payload length in bytes 42-43 matching what was added.
  Datagram Finish() const;

 private:
  PacketBuffer buffer_{};
  std::size_t position_ = HEADER_SIZE;
};

}  // namespace quorvel::boxsim
