#include "clock.h"

#include <chrono>
#include <thread>

namespace quorvel {

std::int64_t SystemClock::NowMicros() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void SystemClock::SleepMillis(int millis) {
  std::this_thread::sleep_for(std::chrono::milliseconds(millis));
}

}  // namespace quorvel
