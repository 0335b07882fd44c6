#include "services/busy_pause.h"

#include <algorithm>

namespace quorvel {

bool PauseUnlessClosing(Clock& clock, int millis, const ui::BusyStop& stop) {
  for (int left = millis; left > 0; left -= kPauseSliceMillis) {
    if (stop.requested()) return false;
    clock.SleepMillis(std::min(left, kPauseSliceMillis));
  }
  return !stop.requested();
}

}  // namespace quorvel
