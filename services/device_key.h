// A box's key text ("0x00,0x1B,0x2C,0xA0,0x0F,0x30,0x00,0x00") read back into its 8 id bytes. The key
// text itself is built by DeviceKeyText (protocol/device_record.h).
#pragma once

#include <optional>
#include <string_view>

#include "protocol/device_record.h"

namespace quorvel {

// Reads hexadecimal numbers ("0x" or "0X" in front allowed), each followed by one separator character of
// any kind or by the end of the text, and keeps the low 8 bits of each as one byte. Nothing when the text
// does not give exactly 8 numbers or has anything but a number where one is due; every key text that
// DeviceKeyText builds gives its 8 bytes back.
std::optional<DeviceId> DeviceIdFromKeyText(std::string_view text);

}  // namespace quorvel
