// What the mapping and unmapping commands work on: the main window's device list, share list and
// drive-letter box, the drive map table, and the platform's drives and connections.
#pragma once

#include <functional>
#include <string_view>

#include "framework/dialog.h"
#include "platform/drives.h"
#include "platform/network_drives.h"
#include "shares/drive_map_table.h"

namespace quorvel {

struct MappingWindow {
  ui::DialogHost& host;  // the main window
  DriveMapTable& driveMap;
  platform::Drives& drives;
  platform::NetworkDrives& networkDrives;
  // Rebuilds the share list from the share names already fetched, for the box of a device row given
  // by its name and address texts.
  std::function<void(std::string_view name, std::string_view address)> refillShareList;
};

// Rescans the connections, fills the drive-letter box again, and rebuilds the share list for every
// selected device row from the first in view down.
void RefreshAfterChange(const MappingWindow& window, int firstDeviceRow);

}  // namespace quorvel
