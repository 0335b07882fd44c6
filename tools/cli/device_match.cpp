#include "device_match.h"

#include <algorithm>

#include "device_record.h"
#include "utf8_rules.h"

namespace quorvel::cli {

bool DeviceMatches(const DeviceRecord& record, std::string_view text) {
  if (text.empty()) return false;
  if (EqualIgnoringAsciiCase(DeviceKeyText(record.id), text)) return true;
  if (record.name.view() == text) return true;
  for (const PortSettings& port : record.ports) {
    if (port.ip.view() == text) return true;
  }
  return false;
}

const DeviceRecord* FindDeviceByText(const std::vector<DeviceRecord>& table, std::string_view text) {
  const auto it = std::find_if(table.begin(), table.end(),
                               [text](const DeviceRecord& record) { return DeviceMatches(record, text); });
  return it == table.end() ? nullptr : &*it;
}

}  // namespace quorvel::cli
