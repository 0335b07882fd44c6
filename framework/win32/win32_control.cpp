#include "framework/win32/win32_control.h"

#include "framework/win32/window_class.h"

namespace quorvel::ui {

std::string WindowText(HWND window) {
  const int length = ::GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = ::GetWindowTextA(window, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

void RepaintGroundOfStatic(HWND control) {
  const HWND parent = ::GetParent(control);
  if (parent == nullptr || !HasWindowClass(control, "Static")) return;
  RECT area{};
  ::GetWindowRect(control, &area);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
  ::RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace quorvel::ui
