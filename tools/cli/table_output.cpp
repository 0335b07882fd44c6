#include "table_output.h"

#include <algorithm>
#include <array>

#include "device_record.h"
#include "utf8_text.h"

namespace quorvel::cli {

namespace {

constexpr std::size_t kColumns = 7;
using Row = std::array<std::string, kColumns>;

const Row kHeader = {"NAME", "ID", "MODEL", "IP", "NETMASK", "GATEWAY", "INTERFACE"};
constexpr std::size_t kGap = 2;

Row RowOf(const DeviceRecord& record, const std::vector<std::string>& interfaceAddresses) {
  const PortSettings& port = record.primary();
  const auto index = static_cast<std::size_t>(record.interfaceIndex);
  const std::string interfaceText =
      record.interfaceIndex >= 0 && index < interfaceAddresses.size() ? interfaceAddresses[index] : "";
  return {PrintableText(record.name.view()), DeviceKeyText(record.id),
          PrintableText(record.model.view()), PrintableText(port.ip.view()),
          PrintableText(port.netmask.view()), PrintableText(port.gateway.view()),
          PrintableText(interfaceText)};
}

}  // namespace

std::string DeviceTableText(const std::vector<DeviceRecord>& table,
                            const std::vector<std::string>& interfaceAddresses) {
  if (table.empty()) return "No devices found.\n";
  std::vector<Row> rows{kHeader};
  for (const DeviceRecord& record : table) rows.push_back(RowOf(record, interfaceAddresses));

  std::array<std::size_t, kColumns> widths{};
  for (const Row& row : rows) {
    for (std::size_t c = 0; c < kColumns; ++c) widths[c] = std::max(widths[c], CodePointCount(row[c]));
  }
  std::string out;
  for (const Row& row : rows) {
    std::string line;
    for (std::size_t c = 0; c < kColumns; ++c) {
      line += row[c];
      if (c + 1 < kColumns) line.append(widths[c] - CodePointCount(row[c]) + kGap, ' ');
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out += line;
    out += '\n';
  }
  return out;
}

std::string ShareLines(const std::vector<ShareName>& names) {
  std::string out;
  for (const ShareName& name : names) {
    out += PrintableText(name.view());
    out += '\n';
  }
  return out;
}

}  // namespace quorvel::cli
