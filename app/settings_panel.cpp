// The network settings panel: the Interface combo switches between the box's two ports, the Receive
// DHCP combo greys or frees the address editors, and Apply checks the settings, sends them to the box,
// waits for it to take them and searches again.
#include <string>

#include "app/address_validation.h"
#include "app/inet_address.h"
#include "app/vantor_dlg.h"
#include "res/resource.h"
#include "services/busy_pause.h"

namespace quorvel {

namespace {

constexpr int kSettleAfterApplyMillis = 2000;  // the box takes its new settings before the new search
constexpr std::size_t kSelectedPortMaxChars = 10;
constexpr int kDhcpDisable = 0;
constexpr int kDhcpEnable = 1;

int EditorId(AddressEditor editor) {
  switch (editor) {
    case AddressEditor::Ip: return IDC_IP;
    case AddressEditor::Netmask: return IDC_NETMASK;
    case AddressEditor::Gateway: return IDC_GATEWAY;
  }
  return IDC_IP;
}

// What the editor holds: nothing when blank, else its four fields (an empty field reads 0).
EditorContents ContentsOf(ui::IpAddressEdit& editor) {
  if (editor.IsBlank()) return std::nullopt;
  ui::IpAddressEdit::Fields fields{};
  editor.GetAddress(fields);
  return Octets{fields[0], fields[1], fields[2], fields[3]};
}

std::string DottedTextOf(ui::IpAddressEdit& editor) {
  ui::IpAddressEdit::Fields fields{};
  editor.GetAddress(fields);
  return DottedText(Octets{fields[0], fields[1], fields[2], fields[3]});
}

}  // namespace

void CVantorDlg::OnApply() {
  authenticator_.AdminLoginMode = 1;
  ui::ComboBox& interfaces = host().Combo(IDC_INTERFACE);
  // No Interface item: the selection did not get past the login (or found no box), so the panel
  // belongs to no box and there is nothing to send the settings to.
  if (deviceSelectedMark_ == 0 || interfaces.CurSel() < 0) {
    host().MessageBox("Please select a device in the above section.", "Error", ui::Icon::Error);
    return;
  }
  const std::string label = interfaces.ItemText(interfaces.CurSel());
  SavePanelToView(label);
  protocol_.context().SelectedPortText = std::string_view(label).substr(0, kSelectedPortMaxChars);
  // The settings go with the credentials that the box accepted at its selection, whatever another
  // command has left in the request values since (a share mapping empties them).
  authenticator_.RestoreCredentials(DeviceKeyText(protocol_.context().SelectedDeviceId));

  switch (host().Combo(IDC_DHCP).CurSel()) {
    case kDhcpEnable:
      if (const auto sent = SendNetworkSettings(true); !sent || !*sent) {
        if (!sent) return;  // a close is waiting
        host().MessageBox("Set to dhcp client fail.", "Error", ui::Icon::Error);
        return;
      }
      host().MessageBox("DHCP client enabled.", "Confirm", ui::Icon::Information);
      break;
    case kDhcpDisable:
      if (!ValidateStaticSettings()) return;
      if (!ConfirmNewAddress()) return;
      // A refusal shows in the search that follows: the list shows what the box reports.
      if (!SendNetworkSettings(false)) return;
      break;
    default:
      return;
  }
  const auto paused = host().RunBusy(
      [this](const ui::BusyStop& stop) { PauseUnlessClosing(platform_.clock, kSettleAfterApplyMillis, stop); });
  if (!paused) return;
  RefreshDeviceList();
}

ui::BusyResult<bool> CVantorDlg::SendNetworkSettings(bool dhcp) {
  return host().RunBusy([this, dhcp] { return protocol_.SetNetworkSettings(dhcp); });
}

void CVantorDlg::SavePanelToView(std::string_view label) {
  PortView& port = label == "LAN2" ? networkView_.port1 : networkView_.port0;
  port.ip = DottedTextOf(host().Address(IDC_IP));
  port.netmask = DottedTextOf(host().Address(IDC_NETMASK));
  port.gateway = DottedTextOf(host().Address(IDC_GATEWAY));
  // With no DHCP choice the port keeps the choice it had: "-1" is no dhcp text.
  const int dhcp = host().Combo(IDC_DHCP).CurSel();
  if (dhcp == kDhcpDisable || dhcp == kDhcpEnable) port.dhcp = std::to_string(dhcp);
}

bool CVantorDlg::ValidateStaticSettings() {
  const StaticSettingsCheck check =
      quorvel::ValidateStaticSettings(ContentsOf(host().Address(IDC_IP)), ContentsOf(host().Address(IDC_NETMASK)),
                                      ContentsOf(host().Address(IDC_GATEWAY)));
  // The address and netmask texts are taken over as soon as they pass their own checks.
  CommandContext& context = protocol_.context();
  if (check.newIpText) context.NewIpText = *check.newIpText;
  if (check.newNetmaskText) context.NewNetmaskText = *check.newNetmaskText;
  if (const auto& failure = check.failure) {
    host().MessageBox(failure->message, failure->caption, static_cast<ui::Icon>(failure->icon));
    if (failure->caretEditor) host().Address(EditorId(*failure->caretEditor)).SetFieldFocus(failure->caretField);
    return false;
  }
  // The gateway that was checked, the panel's own, whichever port the settings are for.
  context.NewGatewayText = check.newGatewayText.value_or(std::string());
  return true;
}

void CVantorDlg::OnDhcpChoice() {
  ui::ComboBox& dhcp = host().Combo(IDC_DHCP);
  if (dhcp.CurSel() < 0) return;
  EnableEditors(dhcp.ItemText(dhcp.CurSel()) != "Enable");
}

void CVantorDlg::OnInterfaceSwitch() {
  const int shown = host().Combo(IDC_INTERFACE).CurSel();
  if (shown == previousInterfaceIndex_) return;
  previousInterfaceIndex_ = shown;
  if (shown != 0 && shown != 1) return;

  // The edits of the port that was shown are kept for when the user comes back to it.
  SavePanelToView(shown == 0 ? "LAN2" : "LAN1");
  const PortView taken = shown == 0 ? networkView_.port0 : networkView_.port1;
  ShowPort(taken.dhcp.view(), taken.ip.view(), taken.netmask.view(), taken.gateway.view());
  FillShareList({taken.ip.view()}, ShareListVariant::AfterInterfaceSwitch);
}

void CVantorDlg::ShowPort(std::string_view dhcpText, std::string_view ip, std::string_view netmask,
                          std::string_view gateway) {
  const bool dhcpClient = dhcpText.starts_with('1');
  host().Combo(IDC_DHCP).SetCurSel(dhcpClient ? kDhcpEnable : kDhcpDisable);
  EnableEditors(!dhcpClient);
  host().Address(IDC_IP).SetAddress(EditorAddressOf(ip));
  host().Address(IDC_NETMASK).SetAddress(EditorAddressOf(netmask));
  ui::IpAddressEdit& gatewayEditor = host().Address(IDC_GATEWAY);
  if (const auto address = GatewayEditorAddressOf(gateway)) {
    gatewayEditor.SetAddress(*address);
  } else {
    gatewayEditor.ClearAddress();
  }
}

void CVantorDlg::EnableEditors(bool enabled) {
  for (int editor : {IDC_IP, IDC_NETMASK, IDC_GATEWAY}) host().Address(editor).Enable(enabled);
}

}  // namespace quorvel
