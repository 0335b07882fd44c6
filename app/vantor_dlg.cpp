#include "app/vantor_dlg.h"

#include <algorithm>
#include <iterator>

#include "app/showabout.h"
#include "res/resource.h"
#include "services/widget_command.h"

namespace quorvel {

namespace {

constexpr ui::Rgb kBlack = 0x000000;
constexpr int kStartMessage = 1;

ui::FontDescription ListFont(int charset) { return ui::FontDescription{"Tahoma", 13, 100, charset}; }

// The panel's fields: Enter in one of them would close the window and lose what was typed.
constexpr int kPanelFields[] = {IDC_IP, IDC_NETMASK, IDC_GATEWAY, IDC_INTERFACE, IDC_DHCP, IDC_DRIVE_LETTER};

bool IsPanelField(int id) { return std::ranges::find(kPanelFields, id) != std::end(kPanelFields); }

}  // namespace

CVantorDlg::CVantorDlg(DeviceProtocol& protocol, platform::Platform& platform)
    : ui::Dialog(IDD_MAIN),
      protocol_(protocol),
      platform_(platform),
      authenticator_(protocol, authTable_, platform.os) {}

bool CVantorDlg::OnInitDialog() {
  ui::ComboBox& dhcp = host().Combo(IDC_DHCP);  // the template's items of the Receive DHCP box
  dhcp.AddString("Disable");
  dhcp.AddString("Enable");
  host().SetWindowText("Quorvel");
  host().SetIcon(IDI_APPLICATION_ICON);
  SetUpLists();
  host().SetBusyRole(IDC_CLOSE, ui::BusyRole::Close);
  host().SetBusyRole(IDC_EXIT, ui::BusyRole::Close);
  host().SetBusyRole(IDC_MINIMIZE, ui::BusyRole::Minimize);
  // While work runs, Enter is a close only where OnOK would close the window.
  for (const int field : kPanelFields) host().SetBusyRole(field, ui::BusyRole::KeepsEnter);
  host().SetBusyRole(IDC_DEVICE_LIST, ui::BusyRole::PicksRow);
  // The drive map and the first search wait: they run once the window is on screen.
  host().Post(kStartMessage);
  return true;
}

void CVantorDlg::OnPosted(int id) {
  if (id == kStartMessage) StartAfresh();
}

void CVantorDlg::StartAfresh() {
  const auto letters = host().RunBusy([this] { return driveMapTable_.Reread(platform_.drives, platform_.text); });
  if (!letters) return;
  letters->FillBox(host().Combo(IDC_DRIVE_LETTER));
  RefreshDeviceList();
  deviceSelectedMark_ = 0;
}

void CVantorDlg::SetUpLists() {
  const int charset = host().TextCharset();
  ui::ListView& devices = host().List(IDC_DEVICE_LIST);
  ui::ListView& shares = host().List(IDC_SHARE_LIST);
  // Each font and column would otherwise measure and paint the list anew: a third of the lists' start.
  const ui::RedrawPause devicesPaused(devices);
  const ui::RedrawPause sharesPaused(shares);
  devices.SetFullRowSelect();
  devices.SetFont(ListFont(charset));
  devices.InsertColumn(0, "Name", 94);
  devices.InsertColumn(1, "IP", 85);
  devices.InsertColumn(2, "Netmask", 85);
  devices.InsertColumn(3, "Gateway", 85);
  shares.SetFullRowSelect();
  shares.SetFont(ListFont(charset));
  shares.InsertColumn(0, "Volume Name", 120);
  shares.InsertColumn(1, "Location", 111);
  devices.SetTextColor(kBlack);
  shares.SetTextColor(kBlack);
}

void CVantorDlg::OnCommand(int id, int code) {
  if (code == ui::CBN_SELCHANGE) {
    if (id == IDC_DHCP) OnDhcpChoice();
    if (id == IDC_INTERFACE) OnInterfaceSwitch();
    return;
  }
  if (code != ui::BN_CLICKED) return;
  switch (id) {
    case IDC_EXIT: host().DestroyWindow(); break;
    case IDC_CLOSE: OnCancel(); break;
    case IDC_MINIMIZE: host().Minimize(); break;
    case IDC_ABOUT: ShowAbout(); break;
    case IDC_REFRESH: RefreshDeviceList(); break;
    case IDC_APPLY: OnApply(); break;
    case IDC_CONNECT: OnConnect(); break;
    case IDC_DISCONNECT: OnDisconnect(); break;
    case IDC_CONFIGURATION: OnConfiguration(); break;
    case IDC_CODEPAGE: OnLanguage(); break;
    case IDC_ADDON: OnAddon(); break;
    case IDC_WIDGET: OnWidget(); break;
    default: break;
  }
}

// Enter on a selected row of the device list selects its box; in a panel field it does nothing; anywhere
// else (the device list without a selected row too) it closes the window.
void CVantorDlg::OnOK() {
  const int focused = host().FocusedId();
  if (focused == IDC_DEVICE_LIST && FindSelectedRow() >= 0) {
    SelectDeviceByKeyboard();
  } else if (!IsPanelField(focused)) {
    ui::Dialog::OnOK();
  }
}

// The hidden Widget button: the desktop widget for the selected row's box.
void CVantorDlg::OnWidget() {
  ui::ListView& devices = host().List(IDC_DEVICE_LIST);
  devices.SetFocus();
  const int row = FindSelectedRow();
  const std::optional<std::string> address =
      row < 0 ? std::nullopt : std::optional<std::string>(devices.ItemText(row, 1));
  InstallDesktopWidget(host(), platform_.processes, platform_.files, address, selectedModelText_);
}

void CVantorDlg::ShowAbout() {
  showabout about;
  host().RunModal(about);
}

void CVantorDlg::OnDestroy() {
  if (cleanedUp_) return;
  cleanedUp_ = true;
  protocol_.ClearDeviceTable();
  protocol_.NetShutdown();
  authTable_.Clear();
  protocol_.ClearShareNameList();
}

}  // namespace quorvel
