// A pause run as busy work: it sleeps in short slices so that a close recorded meanwhile ends it at once.
#pragma once

#include <cstdint>

#include "framework/busy_work.h"
#include "protocol/clock.h"

namespace quorvel {

inline constexpr int kPauseSliceMillis = 50;

// Sleeps `millis` on `clock`, or less when `stop` is requested; true when it slept the whole time.
bool PauseUnlessClosing(Clock& clock, int millis, const ui::BusyStop& stop);

// Sleeps until `clock` reads `dueMicros`, or less when `stop` is requested; true when it got there. Judged by
// the clock rather than by the sleeps asked for, so a sleep that overshoots (the system's timer granularity)
// does not add up over the slices.
bool PauseUntil(Clock& clock, std::int64_t dueMicros, const ui::BusyStop& stop);

}  // namespace quorvel
