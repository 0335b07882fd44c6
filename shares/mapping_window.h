// What the mapping and unmapping commands work on: the main window's device list, share list and
// drive-letter box, the drive map table, and the platform's drives and connections.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/dialog.h"
#include "platform/drives.h"
#include "platform/network_drives.h"
#include "platform/text_codec.h"
#include "shares/drive_map_table.h"

namespace quorvel {

// What the share list was last filled with, beside the list itself: the box's own name of each row
// (UTF-8, as the box sent it), row by row, and the host texts (UTF-8) that its "Location" column was
// matched against. The rows show the names in the ANSI code page; the commands use these.
struct ShareListContent {
  std::vector<std::string> names;
  std::vector<std::string> hosts;

  // The name of a row; empty for a row that the list was not filled with.
  std::string_view NameOfRow(int row) const {
    return row >= 0 && static_cast<std::size_t>(row) < names.size() ? std::string_view(names[row]) : std::string_view();
  }
};

// What the device list was last filled with, beside the list itself: each row's box name and address
// as the box sent them (UTF-8). The rows show the names in the ANSI code page; every comparison uses
// these.
struct DeviceListContent {
  struct Row {
    std::string name;
    std::string address;
  };
  std::vector<Row> rows;

  // The texts of a row; empty ones for a row that the list was not filled with.
  Row OfRow(int row) const {
    return row >= 0 && static_cast<std::size_t>(row) < rows.size() ? rows[row] : Row{};
  }
};

struct MappingWindow {
  ui::DialogHost& host;  // the main window
  DriveMapTable& driveMap;
  platform::Drives& drives;
  platform::NetworkDrives& networkDrives;
  platform::TextCodec& text;
  const ShareListContent& shareList;
  const DeviceListContent& deviceList;
  // Rebuilds the share list from the share names already fetched, for the box of a device row given
  // by its name and address texts.
  std::function<void(std::string_view name, std::string_view address)> refillShareList;
};

// Rescans the connections, fills the drive-letter box again, and rebuilds the share list for every
// selected device row from the first in view down.
void RefreshAfterChange(const MappingWindow& window, int firstDeviceRow);

}  // namespace quorvel
