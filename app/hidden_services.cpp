// The main window's hidden Language and Add-on buttons: codepage upload and add-on install for the
// selected box. Their flows end in a restart wait; only a flow that ran to its end (ServiceAborted 0) makes
// the window start afresh, since the box has restarted meanwhile.
#include "app/vantor_dlg.h"
#include "services/addon_install.h"
#include "services/language_dialog.h"
#include "services/message_dialog.h"
#include "services/progress_dialog.h"

namespace quorvel {

namespace {

constexpr const char* kSelectDevice = "Please select a device.";

}  // namespace

ServiceContext CVantorDlg::ServicesForSelectedBox() {
  return ServiceContext{serviceState_, *serviceRequests_, platform_, currentDeviceAddress_.str()};
}

void CVantorDlg::OnLanguage() {
  if (deviceSelectedMark_ == 0) {
    host().MessageBox(kSelectDevice, "Error", ui::Icon::Error);
    return;
  }
  ServiceContext context = ServicesForSelectedBox();
  RunCodepageUpload(host(), context);
  serviceState_.AddonInstallActive = 0;
  if (serviceState_.ServiceAborted.load() == 0) StartAfresh();
}

void CVantorDlg::OnAddon() {
  serviceState_.AddonInstallActive = 1;
  if (deviceSelectedMark_ == 0) {
    serviceState_.AddonInstallActive = 0;
    host().MessageBox(kSelectDevice, "Error", ui::Icon::Error);
    return;
  }
  ServiceContext context = ServicesForSelectedBox();
  if (!authenticator_.AdminCheckWithFallback(host()) || !AddonPrecheck(host(), context)) {
    serviceState_.AddonInstallActive = 0;
    return;
  }
  messageDlg copying(context);
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
