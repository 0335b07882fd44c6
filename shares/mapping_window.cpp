#include "shares/mapping_window.h"

#include <string>

#include "res/resource.h"

namespace quorvel {

void RefreshAfterChange(const MappingWindow& window, int firstDeviceRow) {
  const auto letters = window.host.RunBusy([&] { return window.driveMap.Reread(window.drives, window.text); });
  if (!letters) return;
  letters->FillBox(window.host.Combo(IDC_DRIVE_LETTER));
  if (firstDeviceRow < 0) return;
  ui::ListView& devices = window.host.List(IDC_DEVICE_LIST);
  for (int row = firstDeviceRow; row < devices.ItemCount(); ++row) {
    if (!devices.IsSelected(row)) continue;
    // Read again: the row's texts as they are now.
    const std::string name = devices.ItemText(row, 0);
    const std::string address = devices.ItemText(row, 1);
    window.refillShareList(name, address);
  }
}

}  // namespace quorvel
