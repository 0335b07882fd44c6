// Reading the boxes of a simulator run from their JSON description.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "box_state.h"

namespace quorvel::boxsim {

struct ConfigResult {
  std::vector<BoxState> boxes;
  std::string error;  // empty when the configuration was read

  bool ok() const { return error.empty(); }
};

// Reads {"boxes": [...]}. Unknown keys and values of the wrong type are errors that name the
// place, for example "boxes[2].ports[0].ip: expected a string".
ConfigResult ParseConfig(std::string_view text);
ConfigResult LoadConfigFile(const std::string& path);

// Reads a device id in its key text form: eight "0x" + two hex digits, joined by commas.
bool ParseDeviceIdText(std::string_view text, DeviceId& id);

}  // namespace quorvel::boxsim
