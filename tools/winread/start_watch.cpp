#include "start_watch.h"

#include <commctrl.h>

#include "json_writer.h"
#include "target.h"

namespace quorvel::winread {

namespace {

// FILETIME counts 100 ns steps from 1601-01-01; the Unix epoch is this many steps later.
constexpr std::int64_t kUnixEpochIn100ns = 116444736000000000;

std::int64_t NowEpochMicros() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  const std::int64_t steps = (static_cast<std::int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return (steps - kUnixEpochIn100ns) / 10;
}

// Visible, not minimised, and with a non-empty rectangle that overlaps the screen. Reads only what the
// system keeps for the window: a window still in its creation answers this at once.
bool OnScreen(HWND window) {
  RECT rect;
  if (!IsWindowVisible(window) || IsIconic(window) || !GetWindowRect(window, &rect)) return false;
  const RECT screen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                       GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                       GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  RECT shown;
  return IntersectRect(&shown, &rect, &screen) != FALSE;
}

bool Before(ULONGLONG end) { return GetTickCount64() < end; }

}  // namespace

StartMoments WatchStart(WindowMatch match, int listId, DWORD timeoutMs, UINT messageTimeoutMs) {
  match.includeHidden = true;
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  StartMoments moments;
  HWND window = nullptr;
  while (!moments.visibleUs && Before(end)) {
    if (!window || !IsWindow(window)) {
      const std::vector<HWND> found = FindWindows(match);
      window = found.empty() ? nullptr : found.front();
    }
    if (window && OnScreen(window)) {
      moments.visibleUs = NowEpochMicros();
    } else {
      Sleep(kWatchPollMs);
    }
  }
  if (!moments.visibleUs) return moments;
  Target target(window, messageTimeoutMs);
  const HWND list = GetDlgItem(window, listId);
  while (list && !target.failed() && Before(end)) {
    const std::int64_t asked = NowEpochMicros();
    const int rows = static_cast<int>(target.Send(list, LVM_GETITEMCOUNT));
    if (rows > 0) {
      moments.rowsUs = NowEpochMicros();
      moments.rows = rows;
      break;
    }
    if (!target.failed()) moments.emptyUs = asked;
    Sleep(kWatchPollMs);
  }
  return moments;
}

std::string StartMomentsJson(const StartMoments& moments) {
  JsonWriter out;
  out.BeginObject();
  out.Key("visibleUs").IntOrNull(moments.visibleUs);
  out.Key("emptyUs").IntOrNull(moments.emptyUs);
  out.Key("rowsUs").IntOrNull(moments.rowsUs);
  out.Key("rows").Int(moments.rows);
  out.EndObject();
  return out.text();
}

}  // namespace quorvel::winread
