// Timing a Refresh of the main window from outside: the click is posted, then the device list and the
// Refresh button are looked at every kWatchPollMs until the search has ended and the list holds its rows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace quorvel::winread {

// Microseconds after the click was posted; none for what was not seen before the time-out.
struct RefreshMoments {
  std::optional<std::int64_t> emptyUs;     // the list had no rows (first seen so)
  std::optional<std::int64_t> firstRowUs;  // it had a row, once Refresh was seen disabled (the search runs)
  std::optional<std::int64_t> allRowsUs;   // it had `rows` rows, likewise
  std::optional<std::int64_t> endUs;       // the Refresh button, disabled meanwhile, was enabled again
};

// The click of `refreshId` in `window`, whose list view `listId` is then expected to fill with `rows` rows.
RefreshMoments WatchRefresh(HWND window, int refreshId, int listId, int rows, DWORD timeoutMs, UINT messageTimeoutMs);

// {"emptyUs": ..., "firstRowUs": ..., "allRowsUs": ..., "endUs": ...}, null for what was not seen.
std::string RefreshMomentsJson(const RefreshMoments& moments);

}  // namespace quorvel::winread
