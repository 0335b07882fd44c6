#include "services/progress_dialog.h"

namespace quorvel {

void RestartWait(ui::ProgressBar& bar, ServiceState& state, Clock& clock, const std::atomic<bool>& stop) {
  bar.SetRange(1, 100);
  bar.SetStep(1);
  for (int step = 0; step < kRestartSteps; ++step) {
    if (stop.load()) return;
    bar.StepIt();
    clock.SleepMillis(kRestartStepMillis);
  }
  state.ServiceAborted.store(0);
}

bool progress::OnInitDialog() {
  ui::ProgressBar& bar = host().Progress(IDC_RESTART_PROGRESS_BAR);  // taken here, on the dialog's thread
  worker_ = std::thread([this, &bar] { RestartWait(bar, state_, clock_, stop_); });
  host().SetTimer(kRestartWaitTimer, kRestartWaitMillis);
  return true;
}

void progress::OnTimer(int id) {
  if (id != kRestartWaitTimer) return;
  // The wait has run its time: the worker is done or about to be; its last step and its ServiceAborted are
  // waited for, so that the main window reads the final value.
  if (worker_.joinable()) worker_.join();
  host().EndDialog(ui::IDCANCEL);
  host().KillTimer(kRestartWaitTimer);
}

void progress::StopWorker() {
  stop_.store(true);
  if (worker_.joinable()) worker_.join();
}

}  // namespace quorvel
