// The JSON forms of the search result and of a share list, written by hand: a few fixed keys,
// texts made valid UTF-8 and escaped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "device_types.h"
#include "share_names.h"

namespace quorvel::cli {

// A JSON string literal, quotes included: invalid UTF-8 becomes U+FFFD; quote, backslash and
// every control character below U+0020 are escaped.
std::string JsonString(std::string_view bytes);

// One array with an object per record, in table order. interfaceAddresses[i] is the dotted
// address of interface i; an index outside the list gives an empty text.
std::string DevicesJson(const std::vector<DeviceRecord>& table,
                        const std::vector<std::string>& interfaceAddresses);

// One array of the names, in list order.
std::string SharesJson(const std::vector<ShareName>& names);

}  // namespace quorvel::cli
