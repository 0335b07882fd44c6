#include "responsiveness.h"

#include <algorithm>

namespace quorvel::winread {

Responsiveness MeasureResponsiveness(HWND window, DWORD durationMs) {
  Responsiveness result;
  const ULONGLONG start = GetTickCount64();
  while (GetTickCount64() - start < durationMs) {
    if (!IsWindow(window)) {
      result.windowGone = true;
      break;
    }
    const ULONGLONG sent = GetTickCount64();
    DWORD_PTR answer = 0;
    const bool answered = SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kProbeTimeoutMs, &answer) != 0;
    const DWORD waited = static_cast<DWORD>(GetTickCount64() - sent);
    ++result.probes;
    if (!answered) ++result.timedOut;
    result.longestUnansweredMs = std::max(result.longestUnansweredMs, waited);
    Sleep(kProbeIntervalMs);
  }
  return result;
}

}  // namespace quorvel::winread
