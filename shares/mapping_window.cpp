#include "shares/mapping_window.h"


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
    // The box's own texts of the row, never the shown ones (the ANSI code page's).
    const DeviceListContent::Row texts = window.deviceList.OfRow(row);
    window.refillShareList(texts.name, texts.address);
  }
}

}  // namespace quorvel
