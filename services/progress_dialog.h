// The restart wait: 90 seconds while the box restarts. A worker (RestartWait) moves the bar from 1 to 100
// in 99 steps of 0.9 s and then marks the flow as run to its end (ServiceAborted 0); the dialog's own timer
// ends it after 90 s. Enter, Escape and the close request do nothing.
#pragma once

#include <atomic>
#include <thread>

#include "framework/dialog.h"
#include "protocol/clock.h"
#include "res/resource.h"
#include "services/service_state.h"

namespace quorvel {

inline constexpr int kRestartWaitTimer = 1;
inline constexpr int kRestartWaitMillis = 90000;
inline constexpr int kRestartSteps = 99;
inline constexpr int kRestartStepMillis = 900;

// The worker's course: the bar's range 1-100 and step 1, then the steps with a pause after each; it gives up
// between steps once stop is set, and only a full course sets ServiceAborted to 0.
void RestartWait(ui::ProgressBar& bar, ServiceState& state, Clock& clock, const std::atomic<bool>& stop);

class progress : public ui::Dialog {
 public:
  progress(ServiceState& state, Clock& clock) : ui::Dialog(IDD_RESTART_PROGRESS), state_(state), clock_(clock) {}
  ~progress() override { StopWorker(); }

  bool OnInitDialog() override;
  void OnTimer(int id) override;
  void OnOK() override {}
  void OnCancel() override {}
  void OnDestroy() override { StopWorker(); }

 private:
  void StopWorker();

  ServiceState& state_;
  Clock& clock_;
  std::atomic<bool> stop_{false};
  std::thread worker_;
};

}  // namespace quorvel
