#include "table_output.h"

#include <algorithm>

#include "device_record.h"
#include "utf8_text.h"

namespace quorvel::cli {

namespace {

using Row = std::vector<std::string>;

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

std::string AlignedRows(const std::vector<std::vector<std::string>>& rows, std::string_view indent) {
  std::vector<std::size_t> widths;
  for (const Row& row : rows) {
    widths.resize(std::max(widths.size(), row.size()));
    for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], CodePointCount(row[c]));
  }
  std::string out;
  for (const Row& row : rows) {
    std::string line(indent);
    for (std::size_t c = 0; c < row.size(); ++c) {
      line += row[c];
      if (c + 1 < row.size()) line.append(widths[c] - CodePointCount(row[c]) + kGap, ' ');
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out += line;
    out += '\n';
  }
  return out;
}

std::string DeviceTableText(const std::vector<DeviceRecord>& table,
                            const std::vector<std::string>& interfaceAddresses) {
  if (table.empty()) return "No devices found.\n";
  std::vector<Row> rows{kHeader};
  for (const DeviceRecord& record : table) rows.push_back(RowOf(record, interfaceAddresses));
  return AlignedRows(rows);
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
