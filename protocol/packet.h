// Byte layout of requests and replies: the 44-byte header, the credential block, typed fields,
// Base64 and the test by which a datagram is taken as the reply to a request.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "constants.h"
#include "device_types.h"

namespace quorvel {

using PacketBuffer = std::array<std::byte, PACKET_BUFFER_SIZE>;
using Bytes = std::span<const std::byte>;

std::uint16_t ReadU16(Bytes data, std::size_t offset);
void WriteU16(std::span<std::byte> data, std::size_t offset, std::uint16_t value);

// Writes the request header into a zeroed buffer; the device id is written for every opcode but search.
std::size_t BuildHeader(PacketBuffer& buffer, std::uint16_t opcode, const ClientId& client,
                        const DeviceId& device);

// Writes the 128-byte credential block at offset: Base64 of the first 48 bytes of each text.
void WriteAuthBlock(PacketBuffer& buffer, std::size_t offset, std::string_view user,
                    std::string_view password);

// Writes one field at offset and returns its length (4 + padded value), or 0 if it would not fit.
std::size_t WriteField(PacketBuffer& buffer, std::size_t offset, std::uint16_t code,
                       std::string_view value);

// Standard Base64 of the bytes up to the first NUL, with "=" padding and no line breaks.
std::string Base64Encode(std::string_view text);

// How a datagram stands against the reply check for a request with this opcode from this client.
enum class ReplyVerdict {
  Valid,
  Foreign,  // would be valid but for its client id: the reply to another program's request
  Invalid,
};
ReplyVerdict JudgeReply(Bytes datagram, std::uint16_t opcode, const ClientId& client);

// True when the datagram is a reply to a request with this opcode from this client.
bool ValidateReply(Bytes datagram, std::uint16_t opcode, const ClientId& client);

std::uint16_t ReplyStatus(Bytes reply);
DeviceId ReplyDeviceId(Bytes reply);

// Assembles one request: header, then (for every opcode but search) the credential block, then fields.
class Request {
 public:
  Request(std::uint16_t opcode, const ClientId& client, const DeviceId& device);

  void AddAuthBlock(std::string_view user, std::string_view password);
  void AddField(std::uint16_t code, std::string_view value);

  Bytes bytes() const { return Bytes(buffer_.data(), position_); }

 private:
  void GrowPayload(std::size_t n);

  PacketBuffer buffer_{};
  std::size_t position_ = 0;
};

}  // namespace quorvel
