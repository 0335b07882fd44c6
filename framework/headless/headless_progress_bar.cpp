#include "framework/headless/headless_progress_bar.h"

namespace quorvel::ui {

void HeadlessProgressBar::SetRange(int lower, int upper) {
  Touch();
  std::lock_guard lock(mutex_);
  lower_ = lower;
  upper_ = upper;
  if (pos_ < lower) pos_ = lower;
  if (pos_ > upper) pos_ = upper;
}

void HeadlessProgressBar::SetStep(int step) {
  Touch();
  std::lock_guard lock(mutex_);
  step_ = step;
}

void HeadlessProgressBar::StepIt() {
  Touch();
  std::lock_guard lock(mutex_);
  ++steps_;
  pos_ += step_;
  if (pos_ > upper_) pos_ = lower_ + (pos_ - upper_);  // wraps, as the common control does
}

int HeadlessProgressBar::Pos() const {
  Touch();
  std::lock_guard lock(mutex_);
  return pos_;
}

int HeadlessProgressBar::Lower() const {
  std::lock_guard lock(mutex_);
  return lower_;
}

int HeadlessProgressBar::Upper() const {
  std::lock_guard lock(mutex_);
  return upper_;
}

int HeadlessProgressBar::Steps() const {
  std::lock_guard lock(mutex_);
  return steps_;
}

}  // namespace quorvel::ui
