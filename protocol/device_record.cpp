#include "device_record.h"

#include <array>
#include <cstdio>

#include "field_reader.h"

namespace quorvel {

namespace {

constexpr std::array<std::string_view, 4> kAcceptedModels = {"VRX-510L", "VRX-517L", "VRX-530L",
                                                             "VRX-510LW"};

PortSettings* PortAt(DeviceRecord& record, std::int32_t index) {
  return index == 0 || index == 1 ? &record.ports[index] : nullptr;
}

void StorePortField(PortSettings& port, const Field& field) {
  const std::string_view text = ValueText(field.value);
  switch (field.code) {
    case FLD_PORT_IP: port.ip = text; break;
    case FLD_PORT_NETMASK: port.netmask = text; break;
    case FLD_PORT_GATEWAY: port.gateway = text; break;
    case FLD_PORT_ADDR_A: port.addrA = text; break;
    case FLD_PORT_ADDR_B: port.addrB = text; break;
    case FLD_PORT_DHCP: port.dhcp = text; break;
    case FLD_PORT_OPTION: port.option = ReadNumber(text); break;
    default: break;
  }
}

bool IsPortField(std::uint16_t code) {
  switch (code) {
    case FLD_PORT_IP: case FLD_PORT_NETMASK: case FLD_PORT_GATEWAY: case FLD_PORT_ADDR_A:
    case FLD_PORT_ADDR_B: case FLD_PORT_DHCP: case FLD_PORT_OPTION:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string_view ReplyModel(Bytes reply) {
  std::string_view model;
  FieldReader reader(reply);
  while (auto field = reader.Next()) {
    if (field->code == FLD_MODEL) model = ValueText(field->value);
  }
  return model;
}

bool IsAcceptedModel(std::string_view model) {
  for (std::string_view accepted : kAcceptedModels) {
    if (model == accepted) return true;
  }
  return false;
}

DeviceRecord RecordFromReply(Bytes reply, int interfaceIndex) {
  DeviceRecord record;
  record.id = ReplyDeviceId(reply);
  record.interfaceIndex = interfaceIndex;
  PortSettings* port = &record.ports[0];
  FieldReader reader(reply);
  while (auto field = reader.Next()) {
    const std::string_view text = ValueText(field->value);
    switch (field->code) {
      case FLD_DEVICE_NAME: record.name = text; break;
      case FLD_MODEL: record.model = text; break;
      case FLD_AUX_TEXT: record.auxText = text; break;
      case FLD_BONDED: record.bonded = ReadNumber(text); break;
      case FLD_AUX_NUMBER: record.auxNumber = ReadNumber(text); break;
      case FLD_PRIMARY_PORT: record.primaryPort = ReadNumber(text); break;
      case FLD_PORT_INDEX:
        port = PortAt(record, ReadNumber(text));
        ++record.portCount;
        break;
      default:
        if (port && IsPortField(field->code)) StorePortField(*port, *field);
        break;
    }
  }
  return record;
}

std::string DeviceKeyText(const DeviceId& id) {
  std::string text;
  for (std::size_t i = 0; i < id.size(); ++i) {
    char part[8];
    std::snprintf(part, sizeof part, "%s0x%02X", i ? "," : "", id[i]);
    text += part;
  }
  return text;
}

}  // namespace quorvel
