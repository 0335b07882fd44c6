// The Configuration button: opens the selected box's web pages in the default browser once a worker
// has confirmed that the box's web server can still be reached. A box that cannot be reached is
// reported and the main window starts afresh, as after start-up.
#include "app/vantor_dlg.h"
#include "res/resource.h"
#include "services/browser_command.h"
#include "services/web_launcher.h"

namespace quorvel {

namespace {

constexpr const char* kNoDeviceSelected = "Please select a device to configure.";
constexpr const char* kDeviceGone = "Device is no longer available.";

}  // namespace

void CVantorDlg::OnConfiguration() {
  const int row = FindSelectedRow();
  if (row < 0) {
    host().MessageBox(kNoDeviceSelected, "Warning", ui::Icon::Warning);
    return;
  }
  // The row's address is what the box reported; only a plain dotted address goes into a url or a
  // command line. Anything else is no box that can be reached at that address.
  const std::optional<BoxAddress> address = BoxAddress::Checked(host().List(IDC_DEVICE_LIST).ItemText(row, 1));
  if (!address) {
    GiveUpOnDevice();
    return;
  }
  currentDeviceAddress_ = address->text();  // before the worker starts: the worker asks about this click's box
  deviceReachability_.StartWorker(WebServerUrl(WebScheme(httpsFlagText_.view()), *address));
  if (!WaitForDeviceAnswer()) return;
  OpenWebPages(platform_.registry, platform_.processes, *address, httpsFlagText_.view());
}

bool CVantorDlg::WaitForDeviceAnswer() {
  const auto answered = host().RunBusy(
      [this](const ui::BusyStop& stop) { return deviceReachability_.WaitForAnswer(platform_.clock, stop); });
  if (!answered) return false;  // a close is waiting
  if (*answered) return true;
  GiveUpOnDevice();
  return false;
}

void CVantorDlg::GiveUpOnDevice() {
  host().MessageBox(kDeviceGone, "Warning", ui::Icon::Warning);
  StartAfresh();
}

}  // namespace quorvel
