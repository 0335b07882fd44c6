// quorvel-dpi-nudge TITLE DPI WIDTH HEIGHT: sends the top-level window titled TITLE that has a control
// 1000 the WM_DPICHANGED of a move to a monitor of DPI, with a suggested rectangle of WIDTH x HEIGHT at the
// window's present top-left. The rectangle is written into the target at an address this process holds
// too, so it arrives whether or not the message is copied across. Prints the suggested rectangle as
// "left top right bottom"; exit 0 when the window answered.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

struct Search {
  const char* title;
  HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  char title[256] = {};
  GetWindowTextA(window, title, sizeof title);
  if (lstrcmpA(title, search->title) == 0 && GetDlgItem(window, 1000) != nullptr) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: quorvel-dpi-nudge TITLE DPI WIDTH HEIGHT\n");
    return 2;
  }
  Search search{argv[1], nullptr};
  EnumWindows(&Visit, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) {
    std::fprintf(stderr, "no window '%s'\n", argv[1]);
    return 1;
  }
  const int dpi = std::atoi(argv[2]);
  RECT rect{};
  GetWindowRect(search.found, &rect);
  const RECT suggested{rect.left, rect.top, rect.left + std::atoi(argv[3]), rect.top + std::atoi(argv[4])};
  DWORD pid = 0;
  GetWindowThreadProcessId(search.found, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
  if (process == nullptr) return 1;
  // One address free in both processes.
  void* shared = nullptr;
  for (ULONG_PTR address = 0x30000000; address < 0x70000000 && shared == nullptr; address += 0x01000000) {
    void* local = VirtualAlloc(reinterpret_cast<void*>(address), 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (local == nullptr) continue;
    if (VirtualAllocEx(process, local, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE) == local) {
      shared = local;
    } else {
      VirtualFree(local, 0, MEM_RELEASE);
    }
  }
  if (shared == nullptr) return 1;
  *static_cast<RECT*>(shared) = suggested;
  SIZE_T written = 0;
  WriteProcessMemory(process, shared, &suggested, sizeof suggested, &written);
  DWORD_PTR answer = 0;
  const LRESULT sent = SendMessageTimeoutA(search.found, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi),
                                           reinterpret_cast<LPARAM>(shared), SMTO_BLOCK, 10000, &answer);
  std::printf("%ld %ld %ld %ld\n", suggested.left, suggested.top, suggested.right, suggested.bottom);
  VirtualFreeEx(process, shared, 0, MEM_RELEASE);
  CloseHandle(process);
  return sent != 0 ? 0 : 1;
}
