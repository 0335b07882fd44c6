// The table that a running search is building, told change by change as the replies are accepted, so
// that a caller can show the boxes before the search ends. The order is that of the finished table:
// interface order first, then arrival; a box heard through several interfaces keeps the record of the
// earliest one.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "device_types.h"

namespace quorvel {

// One change of the table-to-be: the record leaves row `from` (-1 when it is new to the table) and takes
// row `to`, counted once it has left. A box moves (its record replaced) when it answers through an
// interface before the one that had it; the rows in between shift down by one.
struct SearchChange {
  int from = -1;
  int to = 0;
  DeviceRecord record;
};

// Called on the thread that runs the search, once per change, in order.
using SearchProgress = std::function<void(const SearchChange&)>;

class PendingTable {
 public:
  explicit PendingTable(const SearchProgress& progress) : progress_(progress) {}

  // A record that its interface's search accepted (the first from its box on that interface).
  void Accept(const DeviceRecord& record);

 private:
  const SearchProgress& progress_;
  std::vector<std::pair<DeviceId, int>> rows_;  // each row's box and interface
};

}  // namespace quorvel
