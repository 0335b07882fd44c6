// Device selection: a click on a row of the device list makes its box the selected box. The box
// must accept the administrator login first; then the settings panel shows what the box reported
// in the last search and the share list shows its shares with their drive letters.
#include "app/vantor_dlg.h"
#include "res/resource.h"

namespace quorvel {

void CVantorDlg::OnListClick(int id, int code, int item) {
  // A click selects a box; moving the selection with the arrow keys leaves the panel as it is.
  if (id == IDC_DEVICE_LIST && code == ui::NM_CLICK) SelectDevice(item);
}

// Space on the device list selects the box of its selected row, as a click on that row does.
void CVantorDlg::OnListKeyDown(int id, int key) {
  if (id == IDC_DEVICE_LIST && key == ui::kKeySpace) SelectDeviceByKeyboard();
}

void CVantorDlg::SelectDeviceByKeyboard() { SelectDevice(FindSelectedRow()); }

// The device list's first selected row in view (ui::FirstSelectedRow).
int CVantorDlg::FindSelectedRow() { return ui::FirstSelectedRow(host().List(IDC_DEVICE_LIST)); }

// The row's item data refers to the id inside a record of the device table. It is read only while
// it still points into the table, so a row that outlived its record is never followed.
const DeviceId* CVantorDlg::RowDeviceId(int row) {
  const std::uintptr_t data = host().List(IDC_DEVICE_LIST).ItemData(row);
  for (const DeviceRecord& record : protocol_.DeviceTable()) {
    if (reinterpret_cast<std::uintptr_t>(record.id.data()) == data) return &record.id;
  }
  return nullptr;
}

void CVantorDlg::SelectDevice(int clickedItem) {
  ui::ListView& devices = host().List(IDC_DEVICE_LIST);
  bool anySelected = false;
  for (int row = 0; row < devices.ItemCount() && !anySelected; ++row) anySelected = devices.IsSelected(row);
  if (!anySelected || clickedItem == -1) return;

  ui::ComboBox& interfaces = host().Combo(IDC_INTERFACE);
  interfaces.ResetContent();
  for (int editor : {IDC_IP, IDC_NETMASK, IDC_GATEWAY}) host().Address(editor).ClearAddress();
  if (devices.ItemCount() == 0) return;
  const int row = FindSelectedRow();
  if (row < 0) return;

  deviceSelectedMark_ = 1;
  devices.SetFocus();
  const std::string rowName = deviceListContent_.OfRow(row).name;  // the box's own name, UTF-8
  const std::string rowAddress = devices.ItemText(row, 1);
  const std::string rowNetmask = devices.ItemText(row, 2);
  const std::string rowGateway = devices.ItemText(row, 3);
  currentDeviceAddress_ = rowAddress;

  const DeviceId* rowId = RowDeviceId(row);
  if (rowId == nullptr) return;
  const DeviceId id = *rowId;
  if (protocol_.FindDevice(id) == nullptr) return;

  const std::string key = DeviceKeyText(id);
  if (authenticator_.IsAuthenticated(key)) {
    authenticator_.RestoreCredentials(key);
  } else if (!authenticator_.LoginForDevice(host(), key)) {
    return;
  }
  // Looked up again after the login dialog, which ran a message loop of its own.
  const DeviceRecord* record = protocol_.FindDevice(id);
  if (record == nullptr) return;

  protocol_.context().SelectedDeviceId = record->id;
  selectedModelText_ = record->model.str();
  const FixedText<kPortFlagWidth> dhcpText = record->primary().dhcp.view();

  networkView_.label0.clear();
  LoadNetworkView(networkView_, protocol_.DeviceTable(), protocol_.context().SelectedDeviceId);
  FillInterfaceCombo(rowAddress, rowNetmask, rowGateway, dhcpText.view());
  ShowPort(dhcpText.view(), rowAddress, rowNetmask, rowGateway);

  // A box that does not answer leaves the share list empty.
  if (!host().RunBusy([this] { protocol_.FetchShareNames(); })) return;
  httpsFlagText_.clear();
  FillShareList({rowName, rowAddress}, ShareListVariant::Selection);
}

void CVantorDlg::FillInterfaceCombo(std::string_view rowAddress, std::string_view rowNetmask,
                                    std::string_view rowGateway, std::string_view dhcpText) {
  ui::ComboBox& interfaces = host().Combo(IDC_INTERFACE);
  interfaces.ResetContent();
  if (networkView_.label0.empty()) {
    // The box reported no ports: the panel works on the texts of its row.
    interfaces.Enable(false);
    interfaces.AddString("LAN");
    interfaces.SetCurSel(0);
    networkView_.port0.ip = rowAddress;
    networkView_.port0.netmask = rowNetmask;
    networkView_.port0.gateway = rowGateway;
    networkView_.port0.dhcp = dhcpText;
    return;
  }
  if (networkView_.portCountText == "1") {
    interfaces.Enable(false);
    interfaces.AddString("LAN");
    interfaces.SetCurSel(0);
  } else {
    interfaces.Enable(true);
    interfaces.AddString(networkView_.label0.view());
    interfaces.AddString(networkView_.label1.view());  // empty for bonded ports
    // The row shows the primary port: the item of the port whose address it is.
    interfaces.SetCurSel(networkView_.port0.ip == rowAddress ? 0 : 1);
  }
  previousInterfaceIndex_ = interfaces.CurSel();
}

void CVantorDlg::FillShareList(std::initializer_list<std::string_view> hosts, ShareListVariant variant) {
  quorvel::FillShareList(host().List(IDC_SHARE_LIST), protocol_.ShareNameList(), driveMapTable_,
                         platform_.text, std::span<const std::string_view>(hosts.begin(), hosts.size()),
                         variant, shareListContent_);
}

}  // namespace quorvel
