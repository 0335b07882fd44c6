// Finding the box that the command line names among the boxes of a search.
#pragma once

#include <string_view>
#include <vector>

#include "device_types.h"

namespace quorvel::cli {

// Whether the text names this box: its key text (hex digits in either case), its name (exact,
// byte for byte) or the address of one of its two ports (exact dotted text; empty ones never).
bool DeviceMatches(const DeviceRecord& record, std::string_view text);

// The first box in table order that the text names, or nullptr.
const DeviceRecord* FindDeviceByText(const std::vector<DeviceRecord>& table, std::string_view text);

}  // namespace quorvel::cli
