#include "request_view.h"

#include <algorithm>

#include "credentials.h"

namespace quorvel::boxsim {

namespace {

template <typename Id>
Id IdAt(Bytes datagram, std::size_t offset) {
  Id id{};
  std::transform(datagram.begin() + offset, datagram.begin() + offset + id.size(), id.begin(),
                 [](std::byte b) { return std::to_integer<std::uint8_t>(b); });
  return id;
}

std::vector<Field> WalkFields(Bytes datagram, bool afterCredentials) {
  // FieldReader starts one header length into what it is given, so dropping the credential
  // block's bytes from the front makes it start right after the block.
  FieldReader reader(afterCredentials ? datagram.subspan(AUTH_BLOCK_SIZE) : datagram);
  std::vector<Field> fields;
  while (auto field = reader.Next()) fields.push_back(*field);
  return fields;
}

}  // namespace

std::optional<std::string_view> RequestView::LastText(std::uint16_t code) const {
  std::optional<std::string_view> text;
  for (const Field& field : fields) {
    if (field.code == code) text = ValueText(field.value);
  }
  return text;
}

bool IsRequest(Bytes datagram) {
  return datagram.size() >= HEADER_SIZE && ReadU16(datagram, HDR_MAGIC) == REQUEST_MAGIC;
}

std::optional<RequestView> ParseRequest(Bytes datagram) {
  if (!IsRequest(datagram)) return std::nullopt;
  RequestView request;
  request.length = datagram.size();
  request.magic = ReadU16(datagram, HDR_MAGIC);
  request.opcode = ReadU16(datagram, HDR_OPCODE);
  request.status = ReadU16(datagram, HDR_STATUS);
  request.client = IdAt<ClientId>(datagram, HDR_CLIENT_ID);
  request.device = IdAt<DeviceId>(datagram, HDR_DEVICE_ID);
  request.payloadLength = ReadU16(datagram, HDR_PAYLOAD_LENGTH);
  request.hasCredentials = request.opcode != OP_SEARCH && datagram.size() >= HEADER_SIZE + AUTH_BLOCK_SIZE;
  if (request.hasCredentials) {
    request.user = DecodeCredentialSlot(datagram.subspan(HEADER_SIZE, AUTH_SLOT_SIZE));
    request.password = DecodeCredentialSlot(datagram.subspan(HEADER_SIZE + AUTH_SLOT_SIZE, AUTH_SLOT_SIZE));
  }
  if (request.opcode == OP_SEARCH || request.hasCredentials) {
    request.fields = WalkFields(datagram, request.hasCredentials);
  }
  return request;
}

}  // namespace quorvel::boxsim
