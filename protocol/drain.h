// The drain before a request leaves an interface: whatever waits on its receive socket (late
// replies to an earlier request, other programs' traffic) is read and dropped until DRAIN_WAIT
// passes without a datagram; a steady stream cannot hold the send longer than twice that.
#pragma once

#include <algorithm>
#include <cstdint>

#include "clock.h"
#include "constants.h"
#include "transport.h"

namespace quorvel {

class DrainTimer {
 public:
  explicit DrainTimer(std::int64_t startMicros)
      : quietUntil_(startMicros + DRAIN_WAIT_MICROS), capAt_(startMicros + 2LL * DRAIN_WAIT_MICROS) {}

  std::int64_t WakeAtMicros() const { return std::min(quietUntil_, capAt_); }
  // A datagram was read and dropped at nowMicros; true when the drain is over all the same.
  bool Dropped(std::int64_t nowMicros) {
    quietUntil_ = nowMicros + DRAIN_WAIT_MICROS;
    return nowMicros >= capAt_;
  }

 private:
  std::int64_t quietUntil_;
  std::int64_t capAt_;
};

// Drains one interface's receive socket, timed by the protocol's clock.
void DrainInterface(Transport& transport, Clock& clock, int index);

}  // namespace quorvel
