// The main window's hidden Language and Add-on buttons: codepage upload and add-on install for the
// selected box. Their flows end in a restart wait; only a flow that ran to its end (ServiceAborted 0) makes
// the window start afresh, since the box has restarted meanwhile.
#include <optional>
#include <utility>

#include "app/vantor_dlg.h"
#include "services/addon_install.h"
#include "services/language_dialog.h"
#include "services/message_dialog.h"
#include "services/progress_dialog.h"

namespace quorvel {

namespace {

constexpr const char* kSelectDevice = "Please select a device.";

}  // namespace

// Both services start here, before they send, write or start anything. The address that the box's row
// reported goes into their UNC paths and command lines, so a box whose address is not a plain dotted one
// is no box they can work on: they refuse it as they refuse no selection at all.
std::optional<ServiceContext> CVantorDlg::ServicesForSelectedBox() {
  if (deviceSelectedMark_ == 0) return std::nullopt;
  std::optional<BoxAddress> address = BoxAddress::Checked(currentDeviceAddress_.view());
  if (!address) return std::nullopt;
  return ServiceContext{serviceState_, *serviceRequests_, platform_, std::move(*address)};
}

void CVantorDlg::OnLanguage() {
  std::optional<ServiceContext> context = ServicesForSelectedBox();
  if (!context) {
    host().MessageBox(kSelectDevice, "Error", ui::Icon::Error);
    return;
  }
  RunCodepageUpload(host(), *context);
  serviceState_.AddonInstallActive = 0;
  if (serviceState_.ServiceAborted.load() == 0) StartAfresh();
}

void CVantorDlg::OnAddon() {
  serviceState_.AddonInstallActive = 1;
  std::optional<ServiceContext> context = ServicesForSelectedBox();
  if (!context) {
    serviceState_.AddonInstallActive = 0;
    host().MessageBox(kSelectDevice, "Error", ui::Icon::Error);
    return;
  }
  if (!authenticator_.AdminCheckWithFallback(host()) || !AddonPrecheck(host(), *context)) {
    serviceState_.AddonInstallActive = 0;
    return;
  }
  messageDlg copying(*context);
  host().RunModal(copying);
  // The job clears it as it starts; a job that never started (no folder on the box) must not leave the
  // next copy message running the add-on job.
  serviceState_.AddonInstallActive = 0;
  if (serviceState_.AddonCopied == 1) {
    progress restart(serviceState_, platform_.clock);
    host().RunModal(restart);
  }
  if (serviceState_.ServiceAborted.load() != 0) return;
  serviceState_.AddonCopied = 0;
  StartAfresh();
  platform_.files.RemoveFolder(kStagingFolder);  // fails while it still holds files, as intended
}

}  // namespace quorvel
