// CSkinProgress: a progress bar painted as a flat blue bar on the button-face colour, drawn off-screen.
#pragma once

#include "framework/win32/win32_api.h"

#include "skin/win32/subclassed_window.h"

namespace quorvel::skin {

class CSkinProgress : public SubclassedWindow {
 public:
  // Subclasses the progress bar; its range and position stay the control's own.
  explicit CSkinProgress(HWND bar);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Paint(HDC dc, const RECT& client);
};

}  // namespace quorvel::skin
