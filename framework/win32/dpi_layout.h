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
#include "framework/win32/dpi_font.h"
#include "framework/win32/gdi_handles.h"

namespace quorvel::ui {

class DpiLayout {
 public:
  // Made when the window has its controls, before anything else looks at their places: lays the window
  // out for its DPI (at 96 DPI the window keeps its size; the address fields are laid out at every DPI)
  // and turns the dialog manager's own rescaling off.
  DpiLayout(HINSTANCE instance, HWND dialog, int templateId);
  ~DpiLayout();
  DpiLayout(const DpiLayout&) = delete;
  DpiLayout& operator=(const DpiLayout&) = delete;

  // WM_DPICHANGED: the new DPI in wParam, the suggested window rectangle (screen) at lParam.
  void OnDpiChanged(WPARAM wParam, LPARAM lParam);

  // WM_GETDPISCALEDSIZE (answered: the window's size at the new DPI is its reference size there, not
  // its present size scaled), WM_ENTERSIZEMOVE and WM_EXITSIZEMOVE (watched: the window is kept on its
  // work area once a move ends, not while it is dragged across two monitors). true when the message is
  // answered, with the dialog procedure's result.
  bool OnSizeMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

 private:
  SIZE WindowSizeAt(int dpi) const;
  void SizeRestoredWindow(const RECT* suggested) const;
  void PlaceControls() const;
  void RemakeFonts(int fromDpi, int toDpi);
  void KeepOnWorkArea() const;
  void LayOutAddressFields() const;

  HWND dialog_;
  int dpi_;
  bool laidOut_ = false;               // the template was read and matched the window's controls
  PixelBox client_;                    // the reference client area
  std::vector<HWND> controls_;         // in template order
  std::vector<PixelBox> references_;   // their reference rectangles
  std::vector<DpiFont> fonts_;         // the fonts made for the current DPI
  FontHandle dialogFontMade_;          // the template's font made for it (none at the start)
  HFONT dialogFont_ = nullptr;         // the template's font as the controls now have it
  int pointSize_ = 0;                  // its size in points (0: the template names none)
  bool moving_ = false;                // inside a move or size loop
  bool keepOnWorkAreaAtMoveEnd_ = false;  // the DPI changed during that loop
};

}  // namespace quorvel::ui
