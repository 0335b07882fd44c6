// The painted look of one dialog window: its background picture, transparent texts, picture buttons,
// skinned lists and progress bar; for the main window also its rounded outline, dragging by the
// background and the icon it shows while minimised.
#pragma once

#include "framework/win32/win32_api.h"

#include <memory>
#include <vector>

#include "framework/win32/window_skin.h"
#include "skin/dialog_looks.h"
#include "skin/win32/gdi.h"

namespace quorvel::skin {

class CSkinListCtrl;
class CSkinProgress;
class CxSkinButton;

class SkinnedDialog : public ui::WindowSkin {
 public:
  // Made when the window has its controls: takes over the buttons, lists and progress bar of the look.
  SkinnedDialog(HINSTANCE instance, HWND dialog, const DialogLook& look);
  ~SkinnedDialog() override;
  SkinnedDialog(const SkinnedDialog&) = delete;
  SkinnedDialog& operator=(const SkinnedDialog&) = delete;

  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  void LoadBackground();
  void OnDpiChanged();
  bool EraseBackground(HDC dc);
  bool ControlColours(HDC dc, HWND control, INT_PTR& result) const;
  bool DrawItem(WPARAM wParam, LPARAM lParam, INT_PTR& result) const;
  bool Notify(const NMHDR& header, INT_PTR& result) const;
  bool MainFrameMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
  void SetFrameRegion(int width, int height) const;
  bool PaintMinimised();
  INT_PTR Answer(LRESULT value) const;  // a result that goes through DWLP_MSGRESULT

  HINSTANCE instance_;
  HWND dialog_;
  const DialogLook& look_;
  BitmapHandle background_;
  HICON icon_ = nullptr;  // shared resource icon: not freed
  std::vector<std::unique_ptr<CxSkinButton>> buttons_;
  std::vector<std::unique_ptr<CSkinListCtrl>> lists_;
  std::unique_ptr<CSkinProgress> progress_;
};

}  // namespace quorvel::skin
