// quorvel-sys-command TITLE minimize|restore|close|cursor|query-end-session: acts on the dialog window
// titled TITLE from another process. minimize, restore, close: posts the WM_SYSCOMMAND that the task bar's menu posts; for
// minimize and restore it waits up to 10 s for the window to be iconic or not and prints "iconic 1" or
// "iconic 0". cursor: sends the WM_SETCURSOR of a pointer over the client area and prints the handle of the
// cursor then shown (the program's own: another process cannot name it, only tell two apart).
// query-end-session: sends the WM_QUERYENDSESSION of a log-off and prints the window's answer ("answer 1":
// it may end, "answer 0": it asks the session to wait). Exit 0 when done (and the state waited for was
// reached), 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

int WaitIconic(HWND window, bool iconic) {
  for (int waited = 0; waited < 10000 && (IsIconic(window) != FALSE) != iconic; waited += 50) Sleep(50);
  const bool now = IsIconic(window) != FALSE;
  std::printf("iconic %d\n", now ? 1 : 0);
  return now == iconic ? 0 : 1;
}

int Cursor(HWND window) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE),
                           SMTO_BLOCK, 10000, &answer)) {
    return 1;
  }
  CURSORINFO info{};
  info.cbSize = sizeof info;
  if (!GetCursorInfo(&info)) return 1;
  std::printf("cursor %p\n", static_cast<void*>(info.hCursor));
  return 0;
}

int QueryEndSession(HWND window) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK, 10000, &answer)) return 1;
  std::printf("answer %d\n", answer != 0 ? 1 : 0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const HWND window = FindWindowA("#32770", argv[1]);
  if (window == nullptr) return 1;
  const char* action = argv[2];
  if (std::strcmp(action, "cursor") == 0) return Cursor(window);
  if (std::strcmp(action, "query-end-session") == 0) return QueryEndSession(window);
  const WPARAM command = std::strcmp(action, "minimize") == 0  ? SC_MINIMIZE
                         : std::strcmp(action, "restore") == 0 ? SC_RESTORE
                         : std::strcmp(action, "close") == 0   ? SC_CLOSE
                                                               : 0;
  if (command == 0 || !PostMessageA(window, WM_SYSCOMMAND, command, 0)) return 2;
  if (command == SC_CLOSE) return 0;
  return WaitIconic(window, command == SC_MINIMIZE);
}
