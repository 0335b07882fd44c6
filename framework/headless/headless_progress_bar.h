// The progress bar in memory. Its range, step and position sit behind a lock, since a worker thread
// advances the bar while the test's thread reads it.
#pragma once

#include <mutex>

#include "framework/headless/headless_control.h"

namespace quorvel::ui {

class HeadlessProgressBar : public HeadlessControl<ProgressBar> {
 public:
  using HeadlessControl::HeadlessControl;

  void SetRange(int lower, int upper) override;
  void SetStep(int step) override;
  void StepIt() override;
  int Pos() const override;

  // For tests.
  int Lower() const;
  int Upper() const;
  int Steps() const;  // how often StepIt was called

 private:
  mutable std::mutex mutex_;
  int lower_ = 0;
  int upper_ = 100;
  int step_ = 10;
  int pos_ = 0;
  int steps_ = 0;
};

}  // namespace quorvel::ui
