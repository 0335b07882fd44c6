#include "reply_builder.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace quorvel::boxsim {

ReplyBuilder::ReplyBuilder(std::uint16_t opcode, std::uint16_t status, const ClientId& client,
                           const DeviceId& device) {
  WriteU16(buffer_, HDR_MAGIC, REPLY_MAGIC);
  WriteU16(buffer_, HDR_OPCODE, opcode);
  WriteU16(buffer_, HDR_STATUS, status);
  std::memcpy(buffer_.data() + HDR_CLIENT_ID, client.data(), client.size());
  std::memcpy(buffer_.data() + HDR_DEVICE_ID, device.data(), device.size());
}

void ReplyBuilder::AddText(std::uint16_t code, std::string_view value) {
  position_ += WriteField(buffer_, position_, code, value);
}

void ReplyBuilder::AddNumber(std::uint16_t code, std::int64_t value) {
  AddText(code, std::to_string(value));
}

void ReplyBuilder::AddRaw(Bytes bytes) {
  const std::size_t n = std::min(bytes.size(), buffer_.size() - position_);
  std::copy_n(bytes.begin(), n, buffer_.begin() + static_cast<std::ptrdiff_t>(position_));
  position_ += n;
}

Datagram ReplyBuilder::Finish() const {
  Datagram datagram(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(position_));
  WriteU16(datagram, HDR_PAYLOAD_LENGTH, static_cast<std::uint16_t>(position_ - HEADER_SIZE));
  return datagram;
}

}  // namespace quorvel::boxsim
