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

bool PauseUntil(Clock& clock, std::int64_t dueMicros, const ui::BusyStop& stop) {
  for (std::int64_t left = dueMicros - clock.NowMicros(); left > 0; left = dueMicros - clock.NowMicros()) {
    if (stop.requested()) return false;
    clock.SleepMillis(static_cast<int>(std::min<std::int64_t>((left + 999) / 1000, kPauseSliceMillis)));
  }
  return !stop.requested();
}

}  // namespace quorvel
