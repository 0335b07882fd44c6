// quorvel-dpi-nudge TITLE DPI WIDTH HEIGHT [LEFT TOP [in-move]]: moves the window to LEFT, TOP when given, then sends the dialog window titled TITLE what a move to a monitor of DPI
// brings, in the system's order: WM_GETDPISCALEDSIZE with WIDTH x HEIGHT (the size scaled linearly), then
// WM_DPICHANGED suggesting the size the window answered (else WIDTH x HEIGHT) at its top-left. Both
// arguments lie at an address that both processes hold, so they arrive (and the answer comes back)
// whether or not a message is copied across. Prints the suggested rectangle as "left top right bottom";
// exit 0 when the window answered the DPI change. in-move: the change comes inside a move loop, as when the
// window is dragged onto the other monitor: WM_ENTERSIZEMOVE first; after the change the window's rectangle
// is printed, then WM_EXITSIZEMOVE ends the move and the rectangle is printed again.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

int main(int argc, char** argv) {
  if (argc < 5) return 2;
  HWND window = FindWindowA("#32770", argv[1]);
  RECT rect{};
  DWORD pid = 0;
  if (window != nullptr && argc >= 7) {
    SetWindowPos(window, nullptr, std::atoi(argv[5]), std::atoi(argv[6]), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (window == nullptr || !GetWindowRect(window, &rect) || !GetWindowThreadProcessId(window, &pid)) return 1;
  const int dpi = std::atoi(argv[2]);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE | PROCESS_VM_READ, FALSE, pid);
  void* shared = nullptr;
  for (ULONG_PTR at = 0x30000000; process != nullptr && shared == nullptr && at < 0x70000000; at += 0x1000000) {
    void* local = VirtualAlloc(reinterpret_cast<void*>(at), 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (local != nullptr && VirtualAllocEx(process, local, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE) == local) {
      shared = local;
    } else if (local != nullptr) {
      VirtualFree(local, 0, MEM_RELEASE);
    }
  }
  if (shared == nullptr) return 1;
  // The window's answer lands in its copy (read back) or, when the message was copied across, in ours.
  const SIZE linear{std::atoi(argv[3]), std::atoi(argv[4])};
  *static_cast<SIZE*>(shared) = linear;
  WriteProcessMemory(process, shared, &linear, sizeof linear, nullptr);
  DWORD_PTR scaled = 0;
  SIZE answered = linear;
  if (SendMessageTimeoutA(window, 0x02E4 /* WM_GETDPISCALEDSIZE */, dpi, reinterpret_cast<LPARAM>(shared), SMTO_BLOCK,
                          10000, &scaled) != 0 && scaled != 0) {
    SIZE theirs{};
    ReadProcessMemory(process, shared, &theirs, sizeof theirs, nullptr);
    const SIZE ours = *static_cast<SIZE*>(shared);
    answered = theirs.cx != linear.cx || theirs.cy != linear.cy ? theirs : ours;
  }
  const bool inMove = argc >= 8 && std::strcmp(argv[7], "in-move") == 0;
  if (inMove) SendMessageTimeoutA(window, WM_ENTERSIZEMOVE, 0, 0, SMTO_BLOCK, 10000, nullptr);
  const RECT suggested{rect.left, rect.top, rect.left + answered.cx, rect.top + answered.cy};
  *static_cast<RECT*>(shared) = suggested;
  WriteProcessMemory(process, shared, &suggested, sizeof suggested, nullptr);
  DWORD_PTR answer = 0;
  const LRESULT sent = SendMessageTimeoutA(window, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi),
                                           reinterpret_cast<LPARAM>(shared), SMTO_BLOCK, 10000, &answer);
  std::printf("%ld %ld %ld %ld\n", suggested.left, suggested.top, suggested.right, suggested.bottom);
  if (inMove) {
    for (const UINT step : {0u, static_cast<UINT>(WM_EXITSIZEMOVE)}) {
      if (step != 0) SendMessageTimeoutA(window, step, 0, 0, SMTO_BLOCK, 10000, nullptr);
      GetWindowRect(window, &rect);
      std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    }
  }
  return sent != 0 ? 0 : 1;
}
