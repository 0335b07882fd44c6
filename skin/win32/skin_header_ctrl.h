// CSkinHeaderCtrl: a list's column header drawn from bitmaps: the light grey strip as ground and column
// fill, the divider between columns, and the column titles centred in "Tahoma".
#pragma once

#include "framework/win32/win32_api.h"

#include "skin/win32/gdi.h"
#include "skin/win32/subclassed_window.h"

namespace quorvel::skin {

class CSkinHeaderCtrl : public SubclassedWindow {
 public:
  // Subclasses the header (null: nothing to do).
  CSkinHeaderCtrl(HINSTANCE instance, HWND header);

  static constexpr int kStripBitmap = 374;    // 1 x 17, ground and column fill
  static constexpr int kDividerBitmap = 240;  // 12 x 17, its edge 2 pixels in

  // Takes the pictures made for the DPI the header is laid out for (again after a DPI change).
  void LoadPictures();

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Paint(HDC dc, const RECT& client);
  void DrawItem(HDC dc, int index);
  int Px(int pixels) const;  // 96-DPI pixels at the header's DPI

  HINSTANCE instance_;
  BitmapHandle strip_;
  BitmapHandle divider_;
};

}  // namespace quorvel::skin
