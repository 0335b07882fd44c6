// Feeds arbitrary datagrams to everything that reads a reply, and checks what must always hold:
// nothing is read outside the datagram, every walk ends, every kept text fits its place.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "device_record.h"
#include "field_reader.h"
#include "packet.h"
#include "share_names.h"

namespace {

using namespace quorvel;

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

template <std::size_t Width>
void RequireFits(const FixedText<Width>& text) {
  Require(text.size() <= FixedText<Width>::kMaxLength);
}

void CheckRecord(const DeviceRecord& record, Bytes datagram) {
  RequireFits(record.name);
  RequireFits(record.model);
  RequireFits(record.auxText);
  for (const PortSettings& port : record.ports) {
    RequireFits(port.ip);
    RequireFits(port.netmask);
    RequireFits(port.gateway);
    RequireFits(port.addrA);
    RequireFits(port.addrB);
    RequireFits(port.dhcp);
  }
  Require(record.portCount >= 0 && static_cast<std::size_t>(record.portCount) <= datagram.size() / 4);
  Require(record.id == ReplyDeviceId(datagram));
}

void CheckShareNames(Bytes datagram) {
  std::vector<ShareName> names;
  AppendShareNames(datagram, names);
  for (std::size_t i = 0; i < names.size(); ++i) {
    Require(!names[i].empty());
    RequireFits(names[i]);
    Require(names[i].view().find(':') == std::string_view::npos);
    for (std::size_t j = 0; j < i; ++j) Require(names[i].view() != names[j].view());
  }
  const std::size_t count = names.size();
  AppendShareNames(datagram, names);  // the same names again add nothing
  Require(names.size() == count);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Bytes datagram(reinterpret_cast<const std::byte*>(data), size);

  // Check against the client id and opcode the datagram itself carries, so that the check can
  // pass and the accepted shapes get explored too.
  ClientId client{};
  if (size >= 16) std::memcpy(client.data(), data + 8, client.size());
  const std::uint16_t opcode = size >= 4 ? ReadU16(datagram, 2) : 0;
  if (ValidateReply(datagram, opcode, client)) {
    Require(size >= HEADER_SIZE && size <= PACKET_BUFFER_SIZE);
    Require(ReadU16(datagram, 0) == REPLY_MAGIC);
    Require(ReadU16(datagram, HDR_PAYLOAD_LENGTH) + HEADER_SIZE == size);
  }
  Require(!ValidateReply(datagram, static_cast<std::uint16_t>(opcode + 1), client));
  (void)ReplyStatus(datagram);

  FieldReader reader(datagram);
  std::size_t fields = 0;
  while (const auto field = reader.Next()) {
    Require(++fields <= size / 4);
    Require(field->value.data() >= datagram.data() + HEADER_SIZE + 4);
    Require(field->value.data() + field->value.size() <= datagram.data() + size);
    const std::string_view text = ValueText(field->value);
    Require(text.size() <= field->value.size());
    (void)ReadNumber(text);
  }
  Require(!reader.Next());

  const std::string_view model = ReplyModel(datagram);
  Require(model.empty() || (model.data() >= reinterpret_cast<const char*>(data) &&
                            model.data() + model.size() <= reinterpret_cast<const char*>(data) + size));
  (void)IsAcceptedModel(model);

  CheckRecord(RecordFromReply(datagram, 0), datagram);
  CheckShareNames(datagram);
  return 0;
}
