// The main window: the device list, the settings panel, the share list and the commands on them.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "app/network_view.h"
#include "app/share_list.h"
#include "framework/dialog.h"
#include "platform/platform.h"
#include "protocol/device_protocol.h"
#include "services/auth_table.h"
#include "services/authenticator.h"
#include "services/reachability.h"
#include "services/service_state.h"
#include "shares/drive_map_table.h"
#include "shares/mapping_window.h"

namespace quorvel {

class CVantorDlg : public ui::Dialog {
 public:
  CVantorDlg(DeviceProtocol& protocol, platform::Platform& platform);

  bool OnInitDialog() override;  // window work only; the start comes as a posted message
  void OnPosted(int id) override;
  void OnCommand(int id, int code) override;
  void OnListClick(int id, int code, int item) override;
  void OnListKeyDown(int id, int key) override;
  void OnOK() override;  // Enter
  void OnDestroy() override;

  // Empties the box-dependent state, searches again and fills the device list.
  void RefreshDeviceList();

  // Rebuilds the share list from the box's share names and the PC's drive mappings.
  void FillShareList(std::initializer_list<std::string_view> hosts, ShareListVariant variant);

  // Writes the panel's editors and DHCP choice into port1 of the NetworkView for "LAN2", port0 otherwise.
  void SavePanelToView(std::string_view label);
  // The static checks on the editors, with the failure's message and the caret in the failing field.
  // When they pass, NewIpText, NewNetmaskText and NewGatewayText hold the settings to send.
  bool ValidateStaticSettings();

  // Read by tests and by the commands of the later panels.
  const AuthTable& authTable() const { return authTable_; }
  const DriveMapTable& driveMapTable() const { return driveMapTable_; }
  int deviceSelectedMark() const { return deviceSelectedMark_; }
  const NetworkView& networkView() const { return networkView_; }
  const FixedText<64>& currentDeviceAddress() const { return currentDeviceAddress_; }
  const std::string& selectedModelText() const { return selectedModelText_; }
  std::int32_t previousInterfaceIndex() const { return previousInterfaceIndex_; }
  const FixedText<8>& httpsFlagText() const { return httpsFlagText_; }
  Authenticator& authenticator() { return authenticator_; }
  std::int32_t reachabilityFlag() const { return deviceReachability_.flag(); }
  std::int32_t driveReuseAnswer() const { return driveReuseAnswer_; }
  ServiceState& serviceState() { return serviceState_; }
  // The box's requests of the hidden services; tests put a scripted box here.
  void UseServiceRequests(ServiceRequests& requests) { serviceRequests_ = &requests; }

 private:
  void SetUpLists();
  void ShowAbout();
  // The device list during a search: each box as its reply is accepted, at the row it will have (display
  // only). The search adds changes on its thread; the window takes those that have come, as many as fit
  // in a turn.
  // The texts of a device row: name, address, netmask, gateway.
  using DeviceRowTexts = std::array<std::string, 4>;
  struct FoundDevices {
    std::mutex mutex;
    std::vector<SearchChange> changes;
    bool turnPosted = false;   // a turn is on its way to the window: changes that come meanwhile join it
    bool searchEnded = false;  // the table is final: the end of the search shows it, no turn is needed
    // The rows' texts as the list shows them (the user-interface thread's only): the end of the search
    // compares with these instead of asking the list, which costs a message per text.
    std::vector<DeviceRowTexts> shown;
  };
  void ShowFoundDevices(FoundDevices& found, ui::BusyProgress& progress);
  void SetDeviceRowTexts(int row, const DeviceRecord& record, DeviceRowTexts& shown);

  // Device selection (a click on a row of the device list).
  void SelectDevice(int clickedItem);
  void SelectDeviceByKeyboard();
  int FindSelectedRow();
  const DeviceId* RowDeviceId(int row);
  void FillInterfaceCombo(std::string_view rowAddress, std::string_view rowNetmask, std::string_view rowGateway,
                          std::string_view dhcpText);

  // The settings panel.
  void OnApply();
  ui::BusyResult<bool> SendNetworkSettings(bool dhcp);  // as busy work
  // Asks before a static address outside the PC's network or one that another device answers at;
  // false when the user says No (the caret then goes to the IP editor's first field).
  bool ConfirmNewAddress();
  // The one probe of the link that Apply makes, as busy work bounded by kProbeTimeoutMillis; nothing
  // when a close was recorded meanwhile.
  std::optional<platform::ProbeAnswer> ProbeNewAddress(const std::string& address, const std::string& localAddress);
  void OnDhcpChoice();
  void OnInterfaceSwitch();
  void ShowPort(std::string_view dhcpText, std::string_view ip, std::string_view netmask, std::string_view gateway);
  void EnableEditors(bool enabled);

  // The web configuration launcher (the Configuration button).
  void OnConfiguration();
  bool WaitForDeviceAnswer();
  void GiveUpOnDevice();  // the box cannot be reached: the warning, then the window starts afresh

  // Mapping a share to a drive letter and removing a mapping (the Connect and Disconnect buttons).
  void OnConnect();
  void OnDisconnect();
  MappingWindow SharesOfWindow(ShareListVariant refill);

  // The desktop widget install (the hidden Widget button).
  void OnWidget();

  // The hidden services: codepage upload and add-on install (the hidden Language and Add-on buttons).
  void OnLanguage();
  void OnAddon();
  // The selected box's context; nothing when no box is selected or its address is not a dotted one.
  std::optional<ServiceContext> ServicesForSelectedBox();
  void StartAfresh();  // the drive letters read again, a new search, no box selected

  DeviceProtocol& protocol_;
  platform::Platform& platform_;
  AuthTable authTable_;
  Authenticator authenticator_;
  DriveMapTable driveMapTable_;
  ShareListContent shareListContent_;  // the box's own names beside the share list's rows
  DeviceListContent deviceListContent_;  // the box's own names and addresses beside the device rows
  int deviceSelectedMark_ = 0;
  bool cleanedUp_ = false;

  // The box that the panel and the current command aim at.
  NetworkView networkView_;
  FixedText<64> currentDeviceAddress_;
  std::string selectedModelText_;
  std::int32_t previousInterfaceIndex_ = 0;
  FixedText<8> httpsFlagText_;  // a "1" anywhere in it makes the web pages open with https
  DeviceReachability deviceReachability_{platform_.reachability};
  std::int32_t driveReuseAnswer_ = 0;  // the drive-letter-in-use dialog: 1 replace, 0 keep
  ServiceState serviceState_;
  ProtocolServiceRequests protocolServiceRequests_{protocol_};
  ServiceRequests* serviceRequests_ = &protocolServiceRequests_;
};

}  // namespace quorvel
