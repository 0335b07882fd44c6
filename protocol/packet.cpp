#include "packet.h"

#include <algorithm>
#include <cstring>

namespace quorvel {

std::uint16_t ReadU16(Bytes data, std::size_t offset) {
  return static_cast<std::uint16_t>(std::to_integer<unsigned>(data[offset]) |
                                    (std::to_integer<unsigned>(data[offset + 1]) << 8));
}

void WriteU16(std::span<std::byte> data, std::size_t offset, std::uint16_t value) {
  data[offset] = std::byte(value & 0xFF);
  data[offset + 1] = std::byte(value >> 8);
}

std::size_t BuildHeader(PacketBuffer& buffer, std::uint16_t opcode, const ClientId& client,
                        const DeviceId& device) {
  WriteU16(buffer, HDR_MAGIC, REQUEST_MAGIC);
  WriteU16(buffer, HDR_OPCODE, opcode);
  WriteU16(buffer, HDR_RESERVED, 0);
  std::memcpy(buffer.data() + HDR_CLIENT_ID, client.data(), client.size());
  if (opcode != OP_SEARCH) std::memcpy(buffer.data() + HDR_DEVICE_ID, device.data(), device.size());
  return HEADER_SIZE;
}

std::string Base64Encode(std::string_view text) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  text = text.substr(0, std::min(text.find('\0'), text.size()));
  std::string out;
  out.reserve((text.size() + 2) / 3 * 4);
  std::size_t i = 0;
  auto byte = [&](std::size_t k) { return static_cast<unsigned>(static_cast<unsigned char>(text[k])); };
  for (; i + 3 <= text.size(); i += 3) {
    const unsigned group = (byte(i) << 16) | (byte(i + 1) << 8) | byte(i + 2);
    out += kAlphabet[(group >> 18) & 63];
    out += kAlphabet[(group >> 12) & 63];
    out += kAlphabet[(group >> 6) & 63];
    out += kAlphabet[group & 63];
  }
  const std::size_t left = text.size() - i;
  if (left == 1) {
    const unsigned group = byte(i) << 16;
    out += kAlphabet[(group >> 18) & 63];
    out += kAlphabet[(group >> 12) & 63];
    out += "==";
  } else if (left == 2) {
    const unsigned group = (byte(i) << 16) | (byte(i + 1) << 8);
    out += kAlphabet[(group >> 18) & 63];
    out += kAlphabet[(group >> 12) & 63];
    out += kAlphabet[(group >> 6) & 63];
    out += '=';
  }
  return out;
}

namespace {

void WriteCredential(PacketBuffer& buffer, std::size_t offset, std::string_view text) {
  text = text.substr(0, std::min(text.find('\0'), text.size()));
  const std::string code = Base64Encode(text.substr(0, CREDENTIAL_BYTES));
  std::memset(buffer.data() + offset, 0, AUTH_SLOT_SIZE);
  std::memcpy(buffer.data() + offset, code.data(), std::min(code.size(), AUTH_SLOT_SIZE));
}

}  // namespace

std::size_t WriteAuthBlock(PacketBuffer& buffer, std::size_t offset, std::string_view user,
                           std::string_view password) {
  if (offset > buffer.size() || AUTH_BLOCK_SIZE > buffer.size() - offset) return 0;
  WriteCredential(buffer, offset, user);
  WriteCredential(buffer, offset + AUTH_SLOT_SIZE, password);
  return AUTH_BLOCK_SIZE;
}

std::size_t WriteField(PacketBuffer& buffer, std::size_t offset, std::uint16_t code,
                       std::string_view value) {
  value = value.substr(0, std::min(value.find('\0'), value.size()));
  const std::size_t n = value.size();
  const std::size_t padded = n == 0 ? 0 : n + 4 - n % 4;
  const std::size_t length = FIELD_HEADER_SIZE + padded;
  if (length > 0xFFFF || offset > buffer.size() || length > buffer.size() - offset) return 0;
  WriteU16(buffer, offset, code);
  WriteU16(buffer, offset + 2, static_cast<std::uint16_t>(length));
  std::memset(buffer.data() + offset + FIELD_HEADER_SIZE, 0, padded);
  std::memcpy(buffer.data() + offset + FIELD_HEADER_SIZE, value.data(), n);
  return length;
}

ReplyVerdict JudgeReply(Bytes datagram, std::uint16_t opcode, const ClientId& tag,
                        const std::optional<DeviceId>& box) {
  // Replies are read into 4096-byte buffers: a longer datagram is never a reply.
  if (datagram.size() < HEADER_SIZE || datagram.size() > PACKET_BUFFER_SIZE) return ReplyVerdict::Invalid;
  if (ReadU16(datagram, HDR_MAGIC) != REPLY_MAGIC) return ReplyVerdict::Invalid;
  if (ReadU16(datagram, HDR_OPCODE) != opcode) return ReplyVerdict::Invalid;
  if (ReadU16(datagram, HDR_PAYLOAD_LENGTH) + HEADER_SIZE != datagram.size()) return ReplyVerdict::Invalid;
  if (std::memcmp(datagram.data() + HDR_CLIENT_ID, tag.data(), tag.size()) != 0) return ReplyVerdict::Foreign;
  if (box && ReplyDeviceId(datagram) != *box) return ReplyVerdict::Invalid;
  return ReplyVerdict::Valid;
}

bool ValidateReply(Bytes datagram, std::uint16_t opcode, const ClientId& tag, const std::optional<DeviceId>& box) {
  return JudgeReply(datagram, opcode, tag, box) == ReplyVerdict::Valid;
}

std::uint16_t ReplyStatus(Bytes reply) {
  return reply.size() >= HEADER_SIZE ? ReadU16(reply, HDR_STATUS) : 0;
}

DeviceId ReplyDeviceId(Bytes reply) {
  DeviceId id{};
  if (reply.size() >= HEADER_SIZE) std::memcpy(id.data(), reply.data() + HDR_DEVICE_ID, id.size());
  return id;
}

Request::Request(std::uint16_t opcode, const ClientId& tag, const DeviceId& device)
    : position_(BuildHeader(buffer_, opcode, tag, device)), opcode_(opcode), tag_(tag), device_(device) {}

ReplyVerdict Request::Judge(Bytes datagram) const {
  return JudgeReply(datagram, opcode_, tag_, opcode_ == OP_SEARCH ? std::nullopt : std::optional(device_));
}

void Request::AddAuthBlock(std::string_view user, std::string_view password) {
  GrowPayload(WriteAuthBlock(buffer_, position_, user, password));
}

void Request::AddField(std::uint16_t code, std::string_view value) {
  GrowPayload(WriteField(buffer_, position_, code, value));
}

void Request::GrowPayload(std::size_t n) {
  position_ += n;
  WriteU16(buffer_, HDR_PAYLOAD_LENGTH, static_cast<std::uint16_t>(position_ - HEADER_SIZE));
}

}  // namespace quorvel
