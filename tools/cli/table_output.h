// The plain-text forms of the search result and of a share list, for people at a terminal.
#pragma once

#include <string>
#include <vector>

#include "device_types.h"
#include "share_names.h"

namespace quorvel::cli {

// One row per record in table order, with the columns NAME, ID, MODEL, IP, NETMASK, GATEWAY
// (those three of the primary port) and INTERFACE, padded to line up. Box texts are printable.
std::string DeviceTableText(const std::vector<DeviceRecord>& table,
                            const std::vector<std::string>& interfaceAddresses);

// One printable name per line, in list order.
std::string ShareLines(const std::vector<ShareName>& names);

}  // namespace quorvel::cli
