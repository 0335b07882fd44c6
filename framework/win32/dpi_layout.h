// The layout of one dialog window at its DPI. The reference layout is what the dialog's template gives at
// 96 DPI (its dialog units in the base units of its font at 96 DPI); at any other DPI the window's client
// area and every control's rectangle are that reference scaled (framework/dpi_scale.h), not the dialog
// units of the larger font, which grow by other factors across and down. On WM_DPICHANGED the window
// takes the suggested rectangle, its controls are laid out again and their fonts and list columns are
// made for the new DPI.
#pragma once

#include "framework/win32/win32_api.h"

#include <map>
#include <vector>

#include "framework/dialog_template.h"
#include "framework/win32/gdi_handles.h"

namespace quorvel::ui {

class DpiLayout {
 public:
  // Made when the window has its controls, before anything else looks at their places: lays the window
  // out for its DPI (nothing moves at 96 DPI) and turns the dialog manager's own rescaling off.
  DpiLayout(HINSTANCE instance, HWND dialog, int templateId);
  ~DpiLayout();
  DpiLayout(const DpiLayout&) = delete;
  DpiLayout& operator=(const DpiLayout&) = delete;

  // WM_DPICHANGED: the new DPI in wParam, the suggested window rectangle (screen) at lParam.
  void OnDpiChanged(WPARAM wParam, LPARAM lParam);

 private:
  void PlaceControls() const;
  void RemakeFonts(int fromDpi, int toDpi);
  void KeepOnWorkArea() const;

  HWND dialog_;
  int dpi_;
  bool laidOut_ = false;               // the template was read and matched the window's controls
  PixelBox client_;                    // the reference client area
  std::vector<HWND> controls_;         // in template order
  std::vector<PixelBox> references_;   // their reference rectangles
  std::vector<FontHandle> fonts_;      // the fonts made for the current DPI
  HFONT dialogFont_ = nullptr;         // the template's font as the controls now have it
  int pointSize_ = 0;                  // its size in points (0: the template names none)
};

}  // namespace quorvel::ui
