// Replies waiting for their time: the boxes' reply delays run side by side, none blocks another.
#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <optional>
#include <vector>

#include "reply_builder.h"

namespace quorvel::boxsim {

class ReplyQueue {
 public:
  using Clock = std::chrono::steady_clock;

  void Push(Clock::time_point due, Datagram reply);
  // When the earliest reply is due; nothing when none waits.
  std::optional<Clock::time_point> NextDue() const;
  // Removes and returns the earliest reply that is due at `now`; of replies due at the same time,
  // the one pushed first. Nothing when no reply is due yet.
  std::optional<Datagram> TakeNextDue(Clock::time_point now);

  std::size_t size() const { return pending_.size(); }

 private:
  std::multimap<Clock::time_point, Datagram> pending_;
};

}  // namespace quorvel::boxsim
