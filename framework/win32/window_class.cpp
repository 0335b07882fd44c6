#include "framework/win32/window_class.h"

namespace quorvel::ui {

bool HasWindowClass(HWND window, const char* className) {
  char name[64] = {};  // longer than every class name asked about, so a longer one never matches cut
  if (::GetClassNameA(window, name, static_cast<int>(sizeof name)) == 0) return false;
  return ::lstrcmpiA(name, className) == 0;
}

}  // namespace quorvel::ui
