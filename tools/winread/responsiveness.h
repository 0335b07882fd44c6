// How long a window leaves a message unanswered: WM_NULL sent every 20 ms for a while, each with a long
// time-out, and the longest wait for an answer kept.
#pragma once

#include <windows.h>

namespace quorvel::winread {

struct Responsiveness {
  DWORD longestUnansweredMs = 0;  // the longest any probe waited (a probe that timed out counts its time-out)
  int probes = 0;
  int timedOut = 0;
  bool windowGone = false;        // the window went before the time was up
};

inline constexpr DWORD kProbeIntervalMs = 20;
inline constexpr UINT kProbeTimeoutMs = 10000;

// Probes `window` for `durationMs`.
Responsiveness MeasureResponsiveness(HWND window, DWORD durationMs);

}  // namespace quorvel::winread
