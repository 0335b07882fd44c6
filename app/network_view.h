// The settings panel's working copy of the selected box's ports: loaded from the box's record at
// selection, written by the panel when the user switches ports or applies, and shown again from here.
#pragma once

#include <vector>

#include "protocol/device_types.h"
#include "protocol/fixed_text.h"

namespace quorvel {

inline constexpr std::size_t kLabel0Width = 10;
inline constexpr std::size_t kLabel1Width = 16;
inline constexpr std::size_t kPortAddressWidth = 16;
inline constexpr std::size_t kPortFlagWidth = 2;

// One port as the panel shows it. Texts longer than a field are cut to it.
struct PortView {
  FixedText<kPortAddressWidth> ip;
  FixedText<kPortAddressWidth> netmask;
  FixedText<kPortAddressWidth> gateway;
  FixedText<kPortFlagWidth> dhcp;  // "1": the port is a DHCP client; otherwise "0"
};

struct NetworkView {
  FixedText<kLabel0Width> label0;  // "LAN", "LAN1", "LAN1+LAN2", or empty when the box reported no ports
  PortView port0;
  FixedText<kLabel1Width> label1;  // "LAN2" for two separate ports, empty otherwise
  PortView port1;
  FixedText<kPortFlagWidth> bondMode;       // "0" for two separate ports, empty for one port
  FixedText<kPortFlagWidth> portCountText;  // "1" or "2"; kept as it was when the box reported no ports
};

// Copies a record's port into a view: the three addresses and the dhcp text's first character.
void CopyPort(const PortSettings& port, PortView& view);

// Fills the view from the last record of the table whose id is `selected`. False, with label0
// emptied and the rest left as it was, when there is no such record or it reported no ports.
bool LoadNetworkView(NetworkView& view, const std::vector<DeviceRecord>& table, const DeviceId& selected);

}  // namespace quorvel
