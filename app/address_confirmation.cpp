// Apply's questions about a static address, between the static checks and the request: the address
// is checked against the PC's network and probed on the link, and the user decides.
#include "app/lan_check.h"
#include "app/vantor_dlg.h"
#include "res/resource.h"

namespace quorvel {

bool CVantorDlg::ConfirmNewAddress() {
  const DeviceRecord* box = protocol_.FindDevice(protocol_.context().SelectedDeviceId);
  if (!box) return true;  // the request finds no box either; nothing here to check against
  bool closing = false;
  const LanCheck check = CheckNewAddress(LanCheckInputFor(protocol_, *box, protocol_.context().NewIpText.str()),
                                         [&](const std::string& address, const std::string& local) {
                                           const auto answer = ProbeNewAddress(address, local);
                                           closing = !answer;
                                           return answer.value_or(platform::ProbeAnswer::CannotProbe);
                                         });
  if (closing) return false;  // the window closes once Apply returns; nothing more is sent
  if (!check.asks()) return true;
  // The caret goes to the address in question before the box opens, so that the window gives it back
  // there when the box closes (a system that activates the window only after the box has returned
  // would otherwise put it back on Apply), and again after No.
  ui::IpAddressEdit& ip = host().Address(IDC_IP);
  ip.SetFieldFocus(0);
  if (host().AskYesNo(QuestionText(check), "Warning", ui::Icon::Warning)) return true;
  ip.SetFieldFocus(0);
  return false;
}

std::optional<platform::ProbeAnswer> CVantorDlg::ProbeNewAddress(const std::string& address,
                                                                 const std::string& localAddress) {
  const auto answer =
      host().RunBusy([&] { return platform_.addressProbe.Probe(address, localAddress, kProbeTimeoutMillis); });
  if (!answer) return std::nullopt;
  return *answer;
}

}  // namespace quorvel
