#include "top_windows.h"

#include "control_readers.h"

namespace quorvel::winread {

namespace {

constexpr DWORD kPollMs = 50;

struct Collect {
  bool includeHidden;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND hwnd, LPARAM lParam) {
  auto* c = reinterpret_cast<Collect*>(lParam);
  if (c->includeHidden || IsWindowVisible(hwnd)) c->found.push_back(hwnd);
  return TRUE;
}

bool Matches(HWND hwnd, const WindowMatch& match) {
  if (TitleOf(hwnd) != match.title) return false;
  if (!match.cls.empty() && lstrcmpiA(ClassOf(hwnd).c_str(), match.cls.c_str()) != 0) return false;
  return match.withControl < 0 || GetDlgItem(hwnd, match.withControl) != nullptr;
}

}  // namespace

std::string TitleOf(HWND hwnd) {
  // For a top-level window GetWindowText reads the stored caption and sends nothing, so a busy
  // window cannot stall the search.
  char title[512] = {};
  const int n = GetWindowTextA(hwnd, title, sizeof title);
  return std::string(title, n > 0 ? static_cast<size_t>(n) : 0);
}

std::vector<HWND> TopWindows(bool includeHidden) {
  Collect c{includeHidden, {}};
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&c));
  return c.found;
}

std::vector<HWND> FindWindows(const WindowMatch& match) {
  std::vector<HWND> found;
  for (const HWND hwnd : TopWindows(match.includeHidden)) {
    if (Matches(hwnd, match)) found.push_back(hwnd);
  }
  return found;
}

HWND WaitForWindow(const WindowMatch& match, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    const std::vector<HWND> found = FindWindows(match);
    if (!found.empty()) return found.front();
    if (GetTickCount64() >= end) return nullptr;
    Sleep(kPollMs);
  }
}

bool WaitUntilGone(const WindowMatch& match, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (FindWindows(match).empty()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(kPollMs);
  }
}

}  // namespace quorvel::winread
