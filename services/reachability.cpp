#include "services/reachability.h"

#include <utility>

#include "services/busy_pause.h"

namespace quorvel {

int CheckDeviceReachable(ReachabilityFlag& flag, bool reachable) {
  flag.store(reachable ? kDeviceReachable : kDeviceUnreachable);
  return 0;
}

void DeviceReachability::StartWorker(std::string url) {
  checks_.StartCheck(std::move(url), [flag = flag_](bool reachable) { CheckDeviceReachable(*flag, reachable); });
}

bool DeviceReachability::WaitForAnswer(Clock& clock, const ui::BusyStop& stop) {
  for (int sleeps = 0;; ++sleeps) {
    // Takes a 1 and leaves 0 in one step, so that an answer stored meanwhile is not wiped out.
    std::int32_t seen = kDeviceReachable;
    if (flag_->compare_exchange_strong(seen, kNoAnswerYet)) return true;
    if (seen == kDeviceUnreachable || sleeps == kSleepsBeforeGivingUp) return false;
    if (!PauseUnlessClosing(clock, kLookIntervalMillis, stop)) return false;
  }
}

}  // namespace quorvel
