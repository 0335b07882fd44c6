// The progress bar (msctls_progress32) of a dialog. Range, step and advance are posted to the bar's own
// thread with SendNotifyMessage, so that a worker never waits on a user-interface thread that may itself
// be waiting for the worker to end; from the bar's own thread they are plain sends.
#pragma once

#include "framework/win32/win32_control.h"

namespace quorvel::ui {

class Win32ProgressBar : public Win32Control<ProgressBar> {
 public:
  using Win32Control::Win32Control;

  void SetRange(int lower, int upper) override;
  void SetStep(int step) override;
  void StepIt() override;
  int Pos() const override;
};

}  // namespace quorvel::ui
