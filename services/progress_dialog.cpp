#include "services/progress_dialog.h"

namespace quorvel {

namespace {

constexpr int kNextStep = 1;

}  // namespace

bool progress::OnInitDialog() {
  ui::ProgressBar& bar = host().Progress(IDC_RESTART_PROGRESS_BAR);
  bar.SetRange(1, 100);
  bar.SetStep(1);
  host().SetTimer(kRestartWaitTimer, kRestartWaitMillis);
  host().Post(kNextStep);
  return true;
}

// One step per posted message, so that between steps the window is back in its own loop: a close asked
// for meanwhile is let go there (it does nothing here), and the 90-second timer can end the dialog. Only a
// full course sets ServiceAborted to 0.
void progress::OnPosted(int id) {
  if (id != kNextStep || steps_ == kRestartSteps) return;
  host().Progress(IDC_RESTART_PROGRESS_BAR).StepIt();
  if (!host().RunBusy([this] { clock_.SleepMillis(kRestartStepMillis); }).ran()) return;
  if (++steps_ == kRestartSteps) {
    state_.ServiceAborted.store(0);
    return;
  }
  host().Post(kNextStep);
}

void progress::OnTimer(int id) {
  if (id != kRestartWaitTimer) return;
  host().EndDialog(ui::IDCANCEL);
  host().KillTimer(kRestartWaitTimer);
}

}  // namespace quorvel
