// The restart wait: 90 seconds while the box restarts. Once the dialog is on screen its course moves the
// bar from 1 to 100 in 99 steps, step k due 0.9 s x k after the dialog opened (a step that comes late, say
// after a drag of the window, waits less, so that the course keeps its time), and then marks the flow as
// run to its end (ServiceAborted 0); the dialog's own timer ends it after 90 s, which completes the course
// if it has not ended yet. Enter, Escape and the close request do nothing, also while a step waits.
#pragma once

#include <cstdint>

#include "framework/dialog.h"
#include "protocol/clock.h"
#include "res/resource.h"
#include "services/service_state.h"

namespace quorvel {

inline constexpr int kRestartWaitTimer = 1;
inline constexpr int kRestartWaitMillis = 90000;
inline constexpr int kRestartSteps = 99;
inline constexpr int kRestartStepMillis = 900;

class progress : public ui::Dialog {
 public:
  progress(ServiceState& state, Clock& clock) : ui::Dialog(IDD_RESTART_PROGRESS), state_(state), clock_(clock) {}

  bool OnInitDialog() override;
  void OnPosted(int id) override;
  void OnTimer(int id) override;
  void OnOK() override {}
  void OnCancel() override {}

 private:
  ServiceState& state_;
  Clock& clock_;
  std::int64_t startMicros_ = 0;  // when the dialog opened, with its timer: the course's time runs from here
  int steps_ = 0;
};

}  // namespace quorvel
