#include "reply_queue.h"

namespace quorvel::boxsim {

void ReplyQueue::Push(Clock::time_point due, Datagram reply) {
  pending_.emplace(due, std::move(reply));  // equal keys go after the ones already there
}

std::optional<ReplyQueue::Clock::time_point> ReplyQueue::NextDue() const {
  if (pending_.empty()) return std::nullopt;
  return pending_.begin()->first;
}

std::optional<Datagram> ReplyQueue::TakeNextDue(Clock::time_point now) {
  if (pending_.empty() || pending_.begin()->first > now) return std::nullopt;
  Datagram reply = std::move(pending_.begin()->second);
  pending_.erase(pending_.begin());
  return reply;
}

}  // namespace quorvel::boxsim
