#include "services/message_dialog.h"

namespace quorvel {

bool messageDlg::OnInitDialog() {
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
  if (!copied) return;  // a close is waiting: no message box; the outcome stays Failure
  outcome_ = *copied;
  if (outcome_ == JobOutcome::Failure) host().MessageBox(kCheckHardDrives, kServiceCaption, ui::Icon::None);
}

}  // namespace quorvel
