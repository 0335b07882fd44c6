#include "framework/win32/keyboard_cues.h"

namespace quorvel::ui {

namespace {

constexpr char kMovedProperty[] = "QuorvelKeyboardMovedFocus";

bool MovesFocus(WPARAM key) {
  switch (key) {
    case VK_TAB:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      return true;
    default:
      return false;
  }
}

// Runs in the dialog manager's loop before it handles the message.
LRESULT CALLBACK OnDialogMessage(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const MSG*>(lParam);
  if (code == MSGF_DIALOGBOX && message != nullptr && message->message == WM_KEYDOWN && MovesFocus(message->wParam)) {
    const HWND dialog = ::GetAncestor(message->hwnd, GA_ROOT);
    if (dialog != nullptr && !KeyboardMovedFocus(dialog)) {
      ::SetPropA(dialog, kMovedProperty, reinterpret_cast<HANDLE>(1));
      ::SendMessageA(dialog, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
      const HWND focus = ::GetFocus();
      if (focus != nullptr) ::InvalidateRect(focus, nullptr, FALSE);  // the cue where the focus is now
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

bool KeyboardMovedFocus(HWND dialog) { return ::GetPropA(dialog, kMovedProperty) != nullptr; }

void ForgetKeyboardCues(HWND dialog) { ::RemovePropA(dialog, kMovedProperty); }

KeyboardCueHook::KeyboardCueHook()
    : hook_(::SetWindowsHookExA(WH_MSGFILTER, &OnDialogMessage, nullptr, ::GetCurrentThreadId())) {}

KeyboardCueHook::~KeyboardCueHook() {
  if (hook_ != nullptr) ::UnhookWindowsHookEx(hook_);
}

}  // namespace quorvel::ui
