#include "interface_loop.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace quorvel {

namespace {

bool Contains(const std::vector<int>& indices, int index) {
  return std::find(indices.begin(), indices.end(), index) != indices.end();
}

}  // namespace

void ServeInterfaces(Transport& transport, Clock& clock, std::span<const ServedInterface> served) {
  PacketBuffer buffer{};
  for (;;) {
    std::vector<int> waiting;
    std::int64_t wakeAt = std::numeric_limits<std::int64_t>::max();
    for (const ServedInterface& each : served) {
      if (each.task->Done()) continue;
      waiting.push_back(each.index);
      wakeAt = std::min(wakeAt, each.task->WakeAtMicros());
    }
    if (waiting.empty()) return;
    const std::int64_t left = std::clamp<std::int64_t>(wakeAt - clock.NowMicros(), 0, std::numeric_limits<int>::max());
    const std::vector<int> readable = transport.WaitReadable(waiting, static_cast<int>(left));
    for (const ServedInterface& each : served) {
      if (!Contains(waiting, each.index)) continue;
      if (Contains(readable, each.index)) {
        // One datagram per readable interface and round, so that a busy interface cannot starve the others.
        const Received received = transport.ReceiveOnInterface(each.index, 0, buffer);
        if (received.arrived) {
          each.task->OnDatagram(received, buffer);
          continue;
        }
        // Readable with nothing for this interface (another interface's datagram, dropped): as quiet.
      }
      if (clock.NowMicros() >= each.task->WakeAtMicros()) each.task->OnQuiet();
    }
  }
}

}  // namespace quorvel
