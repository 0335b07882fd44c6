// The plain-text forms of the search result and of a share list, for people at a terminal.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "device_types.h"
#include "share_names.h"

namespace quorvel::cli {

// One row per record in table order, with the columns NAME, ID, MODEL, IP, NETMASK, GATEWAY
// (those three of the primary port) and INTERFACE, padded to line up. Box texts are printable.
std::string DeviceTableText(const std::vector<DeviceRecord>& table,
                            const std::vector<std::string>& interfaceAddresses);

// The rows as lines, each after the indent, cells padded to line up in columns two spaces apart;
// no blanks at a line's end. Cells are printable UTF-8 texts.
std::string AlignedRows(const std::vector<std::vector<std::string>>& rows, std::string_view indent = "");

// One printable name per line, in list order.
std::string ShareLines(const std::vector<ShareName>& names);

}  // namespace quorvel::cli
