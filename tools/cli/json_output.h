// The JSON forms of the search result, of a share list and of the doctor's findings, written by hand: a few fixed keys,
// texts made valid UTF-8 and escaped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "device_types.h"
#include "doctor_report.h"
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

// One object: "interfaces", an object per address in the system's order; "boxes", the boxes the
// main window would list; "verdict".
std::string DoctorJson(const DoctorFindings& findings);

}  // namespace quorvel::cli
