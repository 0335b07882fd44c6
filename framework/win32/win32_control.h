// A control of a real dialog: the window handle from GetDlgItem and one call per operation. It never owns
// the window; it owns the font it gave the window, which it deletes when the host goes, after the window.
#pragma once

#include "framework/win32/win32_api.h"

#include <string>
#include <string_view>

#include "framework/controls.h"
#include "framework/dpi_scale.h"
#include "framework/win32/dpi.h"
#include "framework/win32/dpi_font.h"
#include "framework/win32/gdi_handles.h"

namespace quorvel::ui {

// The text of any window, however long.
std::string WindowText(HWND window);

// A static text whose ground is transparent (a painted dialog background) would keep its old text under
// the new one: for a Static control the parent paints its background under it again, then the text.
void RepaintGroundOfStatic(HWND control);

template <class Interface>
class Win32Control : public Interface {
 public:
  Win32Control(HWND window, int id) : window_(window), id_(id) {}
  Win32Control(const Win32Control&) = delete;
  Win32Control& operator=(const Win32Control&) = delete;

  int id() const override { return id_; }
  void Enable(bool enabled) override { ::EnableWindow(window_, enabled ? TRUE : FALSE); }
  bool IsEnabled() const override { return ::IsWindowEnabled(window_) != FALSE; }
  void Show(bool visible) override { ::ShowWindow(window_, visible ? SW_SHOW : SW_HIDE); }
  // On screen: its own flag and every parent's, so false for all controls while the dialog is hidden.
  bool IsVisible() const override { return ::IsWindowVisible(window_) != FALSE; }
  void SetText(std::string_view text) override {
    ::SetWindowTextA(window_, std::string(text).c_str());
    RepaintGroundOfStatic(window_);
  }
  std::string Text() const override { return WindowText(window_); }
  void SetFocus() override { ::SetFocus(window_); }
  // The height is in 96-DPI pixels: the font is made for the DPI the window is laid out for, and keeps
  // that description for the fonts of later DPIs.
  void SetFont(const FontDescription& description) override {
    DpiFont font(ReferenceFont(description), WindowDpi(window_));
    if (!font) return;
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    font_ = std::move(font);  // the one the window used before is deleted only now
  }
  void SetLimitText(int characters) override {
    Send(EM_LIMITTEXT, static_cast<WPARAM>(characters > 0 ? characters : 0));
  }
  void SetCheck(bool checked) override { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
  bool GetCheck() const override { return Send(BM_GETCHECK) == BST_CHECKED; }

  HWND window() const { return window_; }

 protected:
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageA(window_, message, wParam, lParam);
  }

 private:
  HWND window_;
  int id_;
  DpiFont font_;
};

using Win32Item = Win32Control<Control>;

}  // namespace quorvel::ui
