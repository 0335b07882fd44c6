#include "services/message_dialog.h"

namespace quorvel {

bool messageDlg::OnInitDialog() {
  // Enter, Escape and the close request do nothing here, also while the job runs: a job that was written
  // to the box must never be taken for a failed one.
  host().SetUserCannotClose();
  timerId_ = context_.state.AddonInstallActive == 1 ? kAddonJobTimer : kCodepageJobTimer;
  host().SetTimer(timerId_, kCopyJobDelayMillis);
  return true;
}

void messageDlg::OnTimer(int id) {
  if (id != timerId_ || ran_) return;
  ran_ = true;
  // The timer goes before the job: one tick does it all.
  host().KillTimer(id);
  const auto copied = host().RunBusy([this, id] { return CopyJob(context_, id); });
  host().EndDialog(ui::IDCANCEL);
  if (!copied.ran()) return;  // nothing ran: the outcome stays Failure
  // The files are on the box (or not) whatever else happened meanwhile: the outcome is kept; only the
  // message waits for no close.
  outcome_ = *copied;
  if (outcome_ == JobOutcome::Failure && !copied.closing()) {
    host().MessageBox(kCheckHardDrives, kServiceCaption, ui::Icon::None);
  }
}

}  // namespace quorvel
