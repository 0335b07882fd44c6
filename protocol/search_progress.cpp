#include "search_progress.h"

#include <algorithm>

namespace quorvel {

void PendingTable::Accept(const DeviceRecord& record) {
  if (!progress_) return;  // nobody listens: the finished table is built from the interfaces' own lists
  const int interfaceIndex = record.interfaceIndex;
  const auto same = std::find_if(rows_.begin(), rows_.end(), [&](const auto& row) { return row.first == record.id; });
  int from = -1;
  if (same != rows_.end()) {
    if (same->second <= interfaceIndex) return;  // an interface before this one keeps the box
    from = static_cast<int>(same - rows_.begin());
    rows_.erase(same);
  }
  // The last of this interface's rows so far: after every row of the interfaces before it.
  const auto after = std::find_if(rows_.begin(), rows_.end(), [&](const auto& row) { return row.second > interfaceIndex; });
  const int to = static_cast<int>(after - rows_.begin());
  rows_.insert(after, {record.id, interfaceIndex});
  if (progress_) progress_(SearchChange{from, to, record});
}

}  // namespace quorvel
