// Apply's questions about a static address, between the static checks and the request: the address
// is checked against the PC's network and probed on the link, and the user decides.
#include "app/lan_check.h"
#include "app/vantor_dlg.h"
#include "res/resource.h"

namespace quorvel {

bool CVantorDlg::ConfirmNewAddress() {
  const DeviceRecord* box = protocol_.FindDevice(protocol_.context().SelectedDeviceId);
  if (!box) return true;  // the request finds no box either; nothing here to check against
  const LanCheck check = CheckNewAddress(
      LanCheckInputFor(protocol_, *box, protocol_.context().NewIpText.str()),
      [this](const std::string& address, const std::string& local) { return ProbeNewAddress(address, local); });
  if (!check.asks() || host().AskYesNo(QuestionText(check), "Warning", ui::Icon::Warning)) return true;
  host().Address(IDC_IP).SetFieldFocus(0);
  return false;
}

platform::ProbeAnswer CVantorDlg::ProbeNewAddress(const std::string& address, const std::string& localAddress) {
  return platform_.addressProbe.Probe(address, localAddress, kProbeTimeoutMillis);
}

}  // namespace quorvel
