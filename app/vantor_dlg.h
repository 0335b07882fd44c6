// The main window: the device list, the settings panel, the share list and the commands on them.
#pragma once

#include <cstdint>

#include "framework/dialog.h"
#include "platform/platform.h"
#include "protocol/device_protocol.h"
#include "services/auth_table.h"
#include "shares/drive_map_table.h"

namespace quorvel {

class CVantorDlg : public ui::Dialog {
 public:
  CVantorDlg(DeviceProtocol& protocol, platform::Platform& platform);

  bool OnInitDialog() override;
  void OnCommand(int id, int code) override;
  void OnDestroy() override;

  // Empties the box-dependent state, searches again and fills the device list.
  void RefreshDeviceList();

  // Read by tests and by the commands of the later panels.
  const AuthTable& authTable() const { return authTable_; }
  const DriveMapTable& driveMapTable() const { return driveMapTable_; }
  int deviceSelectedMark() const { return deviceSelectedMark_; }

 private:
  void SetUpLists();
  void ShowAbout();

  DeviceProtocol& protocol_;
  platform::Platform& platform_;
  AuthTable authTable_;
  DriveMapTable driveMapTable_;
  int deviceSelectedMark_ = 0;
  bool cleanedUp_ = false;
};

}  // namespace quorvel
