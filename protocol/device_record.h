// Turning an accepted search reply into a device record, and the models that discovery accepts.
#pragma once

#include <string>
#include <string_view>

#include "device_types.h"
#include "packet.h"

namespace quorvel {

// The value of the reply's last model field as text, or an empty text when it has none.
std::string_view ReplyModel(Bytes reply);

// Exactly, byte for byte, one of "VRX-510L", "VRX-517L", "VRX-530L", "VRX-510LW".
bool IsAcceptedModel(std::string_view model);

// Builds the record of a box from its reply. Per-port fields after a port index other than 0 or 1
// are dropped, so nothing is ever stored outside the record's two ports; long values are cut.
DeviceRecord RecordFromReply(Bytes reply, int interfaceIndex);

// The record's text form of its id: "0x" and two upper-case hex digits per byte, joined by commas.
std::string DeviceKeyText(const DeviceId& id);

}  // namespace quorvel
