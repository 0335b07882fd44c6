// Finding top-level windows by their exact title (and optionally class, and a control they must have,
// which tells a main window from a message box with the same caption), and waiting for one to appear
// or to go.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quorvel::winread {

struct WindowMatch {
  std::string title;
  std::string cls;          // empty: any class
  int withControl = -1;     // >= 0: must have a direct child with this id
  bool includeHidden = false;
};

// In Z order, topmost first.
std::vector<HWND> TopWindows(bool includeHidden);
std::vector<HWND> FindWindows(const WindowMatch& match);

// Polls until a match exists (returns it) or timeoutMs passes (returns nullptr).
HWND WaitForWindow(const WindowMatch& match, DWORD timeoutMs);
// Polls until no match exists; false on time-out.
bool WaitUntilGone(const WindowMatch& match, DWORD timeoutMs);

std::string TitleOf(HWND hwnd);

}  // namespace quorvel::winread
