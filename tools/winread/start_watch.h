// Watching a program start from before its main window exists: when that window is first on screen and when
// its list view first has rows, as realtime moments (microseconds since the Unix epoch, the clock the box
// simulator's log stamps requests with), so that they can be put in order with the requests on the wire.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "top_windows.h"

namespace quorvel::winread {

struct StartMoments {
  std::optional<std::int64_t> visibleUs;  // the window was on screen at or before this moment
  std::optional<std::int64_t> emptyUs;    // the list was still empty at or after this moment (the last such look)
  std::optional<std::int64_t> rowsUs;     // the list had rows at or before this moment
  int rows = 0;                           // how many it had then
};

inline constexpr DWORD kWatchPollMs = 2;

// Looks every kWatchPollMs for the window (hidden ones included) until it is visible with a non-empty
// rectangle on the screen, sending it nothing meanwhile, then asks its list view `listId` for its row count
// until it has rows; gives up at timeoutMs with what it has seen.
StartMoments WatchStart(WindowMatch match, int listId, DWORD timeoutMs, UINT messageTimeoutMs);

// {"visibleUs": ..., "emptyUs": ..., "rowsUs": ..., "rows": N}, null for what was not seen.
std::string StartMomentsJson(const StartMoments& moments);

}  // namespace quorvel::winread
