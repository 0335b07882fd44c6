// Whether the box that a command aims at still answers: one worker per command asks its web server,
// and the user-interface thread looks for the answer for up to two seconds.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "framework/busy_work.h"
#include "platform/reachability.h"
#include "protocol/clock.h"

namespace quorvel {

// The answer shared by the worker and the user-interface thread, without a lock. The worker stores it
// once; the user-interface thread sets it back to kNoAnswerYet only when it takes a kDeviceReachable.
using ReachabilityFlag = std::atomic<std::int32_t>;
inline constexpr std::int32_t kNoAnswerYet = 0;
inline constexpr std::int32_t kDeviceReachable = 1;
inline constexpr std::int32_t kDeviceUnreachable = -1;

// The worker's end: stores the check's answer into the flag. Returns 0.
int CheckDeviceReachable(ReachabilityFlag& flag, bool reachable);

class DeviceReachability {
 public:
  static constexpr int kLookIntervalMillis = 1000;
  static constexpr int kSleepsBeforeGivingUp = 2;  // looks right after the start, after 1 s and after 2 s

  explicit DeviceReachability(platform::Reachability& checks) : checks_(checks) {}

  // Starts one worker that asks whether the url's server can be reached. Nothing is cancelled: an
  // answer that comes after the looks still lands in the flag, and the next look sees it.
  void StartWorker(std::string url);
  // Looks at the flag right away and after each sleep. True when it took a kDeviceReachable (the flag
  // is then back at kNoAnswerYet); false on a kDeviceUnreachable, or when the last look found no answer,
  // or when `stop` is requested during a sleep (the sleep then ends at once).
  bool WaitForAnswer(Clock& clock, const ui::BusyStop& stop = {});

  std::int32_t flag() const { return flag_->load(); }

 private:
  platform::Reachability& checks_;
  // Shared with every worker still running, so that a late answer never lands in freed memory.
  std::shared_ptr<ReachabilityFlag> flag_ = std::make_shared<ReachabilityFlag>(kNoAnswerYet);
};

}  // namespace quorvel
