#include "refresh_watch.h"

#include <commctrl.h>

#include "json_writer.h"
#include "start_watch.h"
#include "target.h"

namespace quorvel::winread {

namespace {

std::int64_t NowMicros() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return count.QuadPart * 1'000'000 / frequency.QuadPart;
}

}  // namespace

RefreshMoments WatchRefresh(HWND window, int refreshId, int listId, int rows, DWORD timeoutMs, UINT messageTimeoutMs) {
  RefreshMoments moments;
  const HWND list = GetDlgItem(window, listId);
  const HWND button = GetDlgItem(window, refreshId);
  if (!list || !button) return moments;
  Target target(window, messageTimeoutMs);
  const std::int64_t start = NowMicros();
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  if (!PostMessageA(window, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(refreshId), BN_CLICKED),
                    reinterpret_cast<LPARAM>(button))) {
    return moments;
  }
  bool disabledSeen = false;
  while (!target.failed() && GetTickCount64() < end && !(moments.endUs && moments.allRowsUs)) {
    // The enabled state is the window's own flag, read without a message; the count is asked of the list.
    const bool enabled = IsWindowEnabled(button) != FALSE;
    const int count = static_cast<int>(target.Send(list, LVM_GETITEMCOUNT));
    const std::int64_t now = NowMicros() - start;
    if (!enabled) disabledSeen = true;
    if (disabledSeen && enabled && !moments.endUs) moments.endUs = now;
    if (count == 0 && !moments.emptyUs) moments.emptyUs = now;
    // The list is emptied before Refresh is disabled: rows seen from then on are the new search's.
    if (disabledSeen && count > 0 && !moments.firstRowUs) moments.firstRowUs = now;
    if (disabledSeen && count >= rows && !moments.allRowsUs) moments.allRowsUs = now;
    Sleep(kWatchPollMs);
  }
  return moments;
}

std::string RefreshMomentsJson(const RefreshMoments& moments) {
  JsonWriter out;
  out.BeginObject();
  out.Key("emptyUs").IntOrNull(moments.emptyUs);
  out.Key("firstRowUs").IntOrNull(moments.firstRowUs);
  out.Key("allRowsUs").IntOrNull(moments.allRowsUs);
  out.Key("endUs").IntOrNull(moments.endUs);
  out.EndObject();
  return out.text();
}

}  // namespace quorvel::winread
