// A painted look laid over a real dialog window. The modal run makes one for each dialog window (through
// the SkinFactory it was given) and shows it every message of the dialog procedure first.
#pragma once

#include "framework/win32/win32_api.h"

#include <functional>
#include <memory>

namespace quorvel::ui {

class WindowSkin {
 public:
  virtual ~WindowSkin() = default;
  // true: the skin answered the message and `result` is the dialog procedure's return value (for the
  // messages whose answer goes through DWLP_MSGRESULT, the skin sets that itself); false: the dialog's own
  // handling goes on as if the skin were not there.
  virtual bool Handle(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) = 0;
};

// Makes the look of a dialog window from its template number, when the window has its controls and before
// the dialog's own set-up runs; null: the standard look. The skin lives until the window is gone.
using SkinFactory = std::function<std::unique_ptr<WindowSkin>(HINSTANCE instance, HWND dialog, int templateId)>;

}  // namespace quorvel::ui
