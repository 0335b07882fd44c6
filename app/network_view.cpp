#include "app/network_view.h"

namespace quorvel {

void CopyPort(const PortSettings& port, PortView& view) {
  view.ip = port.ip.view();
  view.netmask = port.netmask.view();
  view.gateway = port.gateway.view();
  view.dhcp = port.dhcp.view();  // one character: the field holds it and its NUL
}

bool LoadNetworkView(NetworkView& view, const std::vector<DeviceRecord>& table, const DeviceId& selected) {
  const DeviceRecord* record = nullptr;
  for (const DeviceRecord& each : table) {
    if (each.id == selected) record = &each;  // the last one of that id
  }
  if (record == nullptr || record->portCount == 0) {
    view.label0.clear();
    return false;
  }

  if (record->portCount == 1) {
    view.label0 = "LAN";
    view.portCountText = "1";
    // The single port is the primary one; a primary port that names neither port falls back to
    // the first, as the device list's row does.
    CopyPort(record->primary(), view.port0);
    view.bondMode.clear();
    return true;
  }

  view.portCountText = "2";
  if (record->bonded == 0) {
    view.label0 = "LAN1";
    view.label1 = "LAN2";
    view.bondMode = "0";
  } else {
    view.label0 = "LAN1+LAN2";
    view.label1.clear();
    // No reply field carries the bonding mode: the mode text keeps what it held.
  }
  CopyPort(record->ports[0], view.port0);
  CopyPort(record->ports[1], view.port1);
  return true;
}

}  // namespace quorvel
