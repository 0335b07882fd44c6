// The drain before a request leaves an interface: what already waits on its receive socket (late
// replies to earlier requests, other programs' traffic) is read and dropped, with no wait for more:
// the drain ends when the socket has nothing queued, or at DRAIN_CAP_MICROS under a steady stream.
// A late reply that comes after the drain is still told apart by its tag (request_tag.h); the
// drain only keeps the stale datagrams out of the wait that follows the send.
#pragma once

#include <cstdint>

#include "clock.h"
#include "constants.h"
#include "transport.h"

namespace quorvel {

class DrainTimer {
 public:
  explicit DrainTimer(std::int64_t startMicros) : startMicros_(startMicros), capAt_(startMicros + DRAIN_CAP_MICROS) {}

  // Due from the start: the first look that finds nothing readable ends the drain.
  std::int64_t WakeAtMicros() const { return startMicros_; }
  // A datagram was read and dropped at nowMicros; true when the drain is over all the same.
  bool Dropped(std::int64_t nowMicros) const { return nowMicros >= capAt_; }

 private:
  std::int64_t startMicros_;
  std::int64_t capAt_;
};

// Drains one interface's receive socket, timed by the protocol's clock.
void DrainInterface(Transport& transport, Clock& clock, int index);

}  // namespace quorvel
