#include "skin/win32/subclassed_window.h"

#include <commctrl.h>

namespace quorvel::skin {

namespace {
constexpr UINT_PTR kSubclassId = 1;
}

bool SubclassedWindow::Subclass(HWND window) {
  Unsubclass();
  if (window == nullptr ||
      !::SetWindowSubclass(window, &SubclassedWindow::Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    return false;
  }
  window_ = window;
  return true;
}

void SubclassedWindow::Unsubclass() {
  if (window_ != nullptr && ::IsWindow(window_)) ::RemoveWindowSubclass(window_, &SubclassedWindow::Proc, kSubclassId);
  window_ = nullptr;
}

LRESULT SubclassedWindow::Default(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::DefSubclassProc(window_, message, wParam, lParam);
}

LRESULT CALLBACK SubclassedWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR self) {
  auto* owner = reinterpret_cast<SubclassedWindow*>(self);
  if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(window, &SubclassedWindow::Proc, kSubclassId);
    owner->window_ = nullptr;
    return ::DefSubclassProc(window, message, wParam, lParam);
  }
  // Nothing may throw through a window procedure: a failure of the painted look leaves the message to
  // the window's own handling.
  try {
    LRESULT result = 0;
    if (owner->OnMessage(message, wParam, lParam, result)) return result;
  } catch (...) {
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace quorvel::skin
