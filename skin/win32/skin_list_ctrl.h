// CSkinListCtrl: a report list that paints itself off-screen on white, shows the selected row in grey
// without the system highlight, carries the painted header (CSkinHeaderCtrl), and is scrolled through two
// bitmap scroll bars beside it (CSkinVerticleScrollbar, CSkinHorizontalScrollbar).
#pragma once

#include "framework/win32/win32_api.h"

#include <vector>

#include "skin/win32/skin_header_ctrl.h"
#include "skin/win32/skin_horizontal_scrollbar.h"
#include "skin/win32/skin_vertical_scrollbar.h"
#include "skin/win32/subclassed_window.h"

namespace quorvel::skin {

class CSkinListCtrl : public SubclassedWindow {
 public:
  // Subclasses the list and its header, turns the list's own scroll bars off and creates the two bars as
  // children of the list's parent. The list keeps this look until it is destroyed or the object goes.
  CSkinListCtrl(HINSTANCE instance, HWND list);

  // The pictures that a list shows from its start: its header's and both bars'.
  static std::vector<int> Pictures();

  HWND window() const;
  // A WM_NOTIFY that the list sent its dialog: answers the row drawing (NM_CUSTOMDRAW). true: answered,
  // `result` is the notification's result.
  bool OnParentNotify(const NMHDR& header, LRESULT& result);

  // Brings both bars' thumbs up to the list's scroll state.
  void UpdateThumbs();
  // After a DPI change (the list has its new place): the pictures and the bars for the new DPI.
  void OnDpiChanged();

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void PlaceBars();
  void HideOwnScrollBars();
  void FitRowHeight(HFONT font);
  void Paint(HDC target, HDC memory);

  CSkinHeaderCtrl header_;
  CSkinVerticleScrollbar vertical_;
  CSkinHorizontalScrollbar horizontal_;
  COLORREF selectedText_ = RGB(0, 0, 0);
  COLORREF selectedGround_ = RGB(190, 190, 190);
  bool drawingSelected_ = false;  // the row being drawn had its selection taken off for the drawing
};

}  // namespace quorvel::skin
