// A pause run as busy work: it sleeps in short slices so that a close recorded meanwhile ends it at once.
#pragma once

#include "framework/busy_work.h"
#include "protocol/clock.h"

namespace quorvel {

inline constexpr int kPauseSliceMillis = 50;

// Sleeps `millis` on `clock`, or less when `stop` is requested; true when it slept the whole time.
bool PauseUnlessClosing(Clock& clock, int millis, const ui::BusyStop& stop);

}  // namespace quorvel
