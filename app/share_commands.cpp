// The Connect and Disconnect buttons: the share mapping commands on the main window's lists.
#include "app/vantor_dlg.h"
#include "shares/connect_command.h"
#include "shares/disconnect_command.h"

namespace quorvel {

MappingWindow CVantorDlg::SharesOfWindow(ShareListVariant refill) {
  auto refillShareList = [this, refill](std::string_view name, std::string_view address) {
    FillShareList({name, address}, refill);
  };
  return MappingWindow{host(), driveMapTable_, platform_.drives, platform_.networkDrives, platform_.text,
                       shareListContent_, deviceListContent_, refillShareList};
}

void CVantorDlg::OnConnect() {
  auto deviceKeyOfRow = [this](int row) {
    const DeviceId* id = RowDeviceId(row);
    return id ? DeviceKeyText(*id) : std::string();
  };
  const ConnectState state{protocol_.context(),  authenticator_.AdminLoginMode, authTable_, platform_.os,
                           currentDeviceAddress_, driveReuseAnswer_, deviceKeyOfRow};
  ConnectSelectedShare(SharesOfWindow(ShareListVariant::AfterMapping), state);
}

void CVantorDlg::OnDisconnect() { DisconnectSelectedShare(SharesOfWindow(ShareListVariant::AfterUnmapping)); }

}  // namespace quorvel
