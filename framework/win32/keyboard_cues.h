// Whether a dialog shows focus cues: only once a key (Tab or an arrow) has moved the focus in it, so that a
// user of the mouse never sees one, whatever the system's setting for keyboard cues.
#pragma once

#include "framework/win32/win32_api.h"

namespace quorvel::ui {

// True once the keyboard has moved the focus in this dialog.
bool KeyboardMovedFocus(HWND dialog);
// The dialog's record of it goes, before its window does.
void ForgetKeyboardCues(HWND dialog);

// While it lives, the dialog loops of this thread note a focus-moving key in their dialog, and tell the
// dialog to show its keyboard cues (WM_CHANGEUISTATE) before the key moves the focus.
class KeyboardCueHook {
 public:
  KeyboardCueHook();
  ~KeyboardCueHook();
  KeyboardCueHook(const KeyboardCueHook&) = delete;
  KeyboardCueHook& operator=(const KeyboardCueHook&) = delete;

 private:
  HHOOK hook_;
};

}  // namespace quorvel::ui
