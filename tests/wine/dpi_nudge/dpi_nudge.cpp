// quorvel-dpi-nudge TITLE DPI WIDTH HEIGHT: sends the dialog window titled TITLE the WM_DPICHANGED of a move
// to a monitor of DPI, suggesting WIDTH x HEIGHT at the window's top-left. The rectangle lies at an address
// that both processes hold, so it arrives whether or not the message is copied across. Prints the suggested
// rectangle as "left top right bottom"; exit 0 when the window answered.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 5) return 2;
  HWND window = FindWindowA("#32770", argv[1]);
  RECT rect{};
  DWORD pid = 0;
  if (window == nullptr || !GetWindowRect(window, &rect) || !GetWindowThreadProcessId(window, &pid)) return 1;
  const RECT suggested{rect.left, rect.top, rect.left + std::atoi(argv[3]), rect.top + std::atoi(argv[4])};
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
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
  *static_cast<RECT*>(shared) = suggested;
  WriteProcessMemory(process, shared, &suggested, sizeof suggested, nullptr);
  DWORD_PTR answer = 0;
  const LRESULT sent = SendMessageTimeoutA(window, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(std::atoi(argv[2]), std::atoi(argv[2])),
                                           reinterpret_cast<LPARAM>(shared), SMTO_BLOCK, 10000, &answer);
  std::printf("%ld %ld %ld %ld\n", suggested.left, suggested.top, suggested.right, suggested.bottom);
  return sent != 0 ? 0 : 1;
}
