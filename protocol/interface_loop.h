// One thread serving the receive sockets of several interfaces at once. Each interface has its own
// task with its own timer; the loop waits until a socket is readable or the earliest timer is due,
// hands each readable interface its datagram, and tells each quiet interface whose time has come.
#pragma once

#include <cstdint>
#include <span>

#include "clock.h"
#include "transport.h"

namespace quorvel {

class InterfaceTask {
 public:
  virtual ~InterfaceTask() = default;
  virtual bool Done() const = 0;
  // When the task must hear of the time if nothing arrives before.
  virtual std::int64_t WakeAtMicros() const = 0;
  // A datagram, or a socket error reported as such, arrived on the task's interface.
  virtual void OnDatagram(const Received& received, const PacketBuffer& buffer) = 0;
  // The wake time has passed and nothing was readable on the interface.
  virtual void OnQuiet() = 0;
};

struct ServedInterface {
  int index;
  InterfaceTask* task;
};

// Runs until every task is done. Interfaces appear at most once.
void ServeInterfaces(Transport& transport, Clock& clock, std::span<const ServedInterface> served);

}  // namespace quorvel
