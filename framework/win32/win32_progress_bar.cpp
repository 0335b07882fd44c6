#include "framework/win32/win32_progress_bar.h"

namespace quorvel::ui {

void Win32ProgressBar::SetRange(int lower, int upper) {
  ::SendNotifyMessageA(window(), PBM_SETRANGE, 0, MAKELPARAM(lower, upper));
}

void Win32ProgressBar::SetStep(int step) {
  ::SendNotifyMessageA(window(), PBM_SETSTEP, static_cast<WPARAM>(step), 0);
}

void Win32ProgressBar::StepIt() { ::SendNotifyMessageA(window(), PBM_STEPIT, 0, 0); }

int Win32ProgressBar::Pos() const { return static_cast<int>(Send(PBM_GETPOS)); }

}  // namespace quorvel::ui
