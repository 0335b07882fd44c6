#include "services/progress_dialog.h"

#include "services/busy_pause.h"

namespace quorvel {

namespace {

constexpr int kNextStep = 1;
constexpr int kBarTop = 100;

}  // namespace

bool progress::OnInitDialog() {
  host().SetUserCannotClose();
  ui::ProgressBar& bar = host().Progress(IDC_RESTART_PROGRESS_BAR);
  bar.SetRange(1, kBarTop);
  bar.SetStep(1);
  startMicros_ = clock_.NowMicros();
  host().SetTimer(kRestartWaitTimer, kRestartWaitMillis);
  host().Post(kNextStep);
  return true;
}

// One step per posted message, so that between steps the window is back in its own loop and the 90-second
// timer can end the dialog. Each step waits until its own time, reckoned from the dialog's start rather
// than from the step before: time lost in the loop (a drag of the window, the system's timer granularity)
// is made up by the steps after it instead of adding up past the timer.
void progress::OnPosted(int id) {
  if (id != kNextStep || steps_ == kRestartSteps) return;
  const std::int64_t dueMicros = startMicros_ + std::int64_t{steps_ + 1} * kRestartStepMillis * 1000;
  host().Progress(IDC_RESTART_PROGRESS_BAR).StepIt();
  if (clock_.NowMicros() < dueMicros) {
    // The user cannot close this dialog; only a stop of the whole program cuts the pause short.
    const auto paused =
        host().RunBusy([&](const ui::BusyStop& stop) { return PauseUntil(clock_, dueMicros, stop); });
    if (!paused || !*paused) return;
  }
  if (++steps_ == kRestartSteps) {
    state_.ServiceAborted.store(0);
    return;
  }
  host().Post(kNextStep);
}

// The full 90 s have passed: the box has had its time to restart, whether or not every step of the bar
// came round (a step held up past the timer). The bar is completed and the flow marked as run to its end.
void progress::OnTimer(int id) {
  if (id != kRestartWaitTimer) return;
  ui::ProgressBar& bar = host().Progress(IDC_RESTART_PROGRESS_BAR);
  for (; steps_ < kRestartSteps && bar.Pos() < kBarTop; ++steps_) bar.StepIt();
  steps_ = kRestartSteps;
  state_.ServiceAborted.store(0);
  host().EndDialog(ui::IDCANCEL);
  host().KillTimer(kRestartWaitTimer);
}

}  // namespace quorvel
