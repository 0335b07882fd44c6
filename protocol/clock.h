// Time as the protocol sees it: a monotonic reading and a sleep. Tests substitute a virtual clock.
#pragma once

#include <cstdint>

namespace quorvel {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::int64_t NowMicros() = 0;
  virtual void SleepMillis(int millis) = 0;
};

// The real clock: std::chrono::steady_clock and std::this_thread::sleep_for.
class SystemClock final : public Clock {
 public:
  std::int64_t NowMicros() override;
  void SleepMillis(int millis) override;
};

}  // namespace quorvel
