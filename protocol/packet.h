// Byte layout of requests and replies: the 44-byte header, the credential block, typed fields,
// Base64 and the test by which a datagram is taken as the reply to a request.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
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

// Writes the 128-byte credential block at offset: Base64 of the first 48 bytes of each text. Returns
// the bytes written: AUTH_BLOCK_SIZE, or 0 when the block would not fit.
std::size_t WriteAuthBlock(PacketBuffer& buffer, std::size_t offset, std::string_view user,
                    std::string_view password);

// Writes one field at offset and returns its length (4 + padded value), or 0 if it would not fit.
std::size_t WriteField(PacketBuffer& buffer, std::size_t offset, std::uint16_t code,
                       std::string_view value);

// Standard Base64 of the bytes up to the first NUL, with "=" padding and no line breaks.
std::string Base64Encode(std::string_view text);

// How a datagram stands against the reply check for a request with this opcode and tag, sent to
// one box (`box`: a command to it) or to every box (none: a search).
enum class ReplyVerdict {
  Valid,
  Foreign,  // would be valid but for its tag: the answer to another request (see request_tag.h)
  Invalid,  // not a reply of this kind, or of another box than the one asked
};
ReplyVerdict JudgeReply(Bytes datagram, std::uint16_t opcode, const ClientId& tag,
                        const std::optional<DeviceId>& box = std::nullopt);

// True when JudgeReply finds the datagram valid.
bool ValidateReply(Bytes datagram, std::uint16_t opcode, const ClientId& tag,
                   const std::optional<DeviceId>& box = std::nullopt);

std::uint16_t ReplyStatus(Bytes reply);
DeviceId ReplyDeviceId(Bytes reply);

// Assembles one request: header, then (for every opcode but search) the credential block, then fields.
class Request {
 public:
  Request(std::uint16_t opcode, const ClientId& tag, const DeviceId& device);

  // How a datagram stands as the reply to this request: its opcode and tag, and for a command the
  // box it was sent to.
  ReplyVerdict Judge(Bytes datagram) const;

  void AddAuthBlock(std::string_view user, std::string_view password);
  void AddField(std::uint16_t code, std::string_view value);

  Bytes bytes() const { return Bytes(buffer_.data(), position_); }

 private:
  void GrowPayload(std::size_t n);

  PacketBuffer buffer_{};
  std::size_t position_ = 0;
  std::uint16_t opcode_;
  ClientId tag_;
  DeviceId device_;
};

}  // namespace quorvel
