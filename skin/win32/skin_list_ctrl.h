// CSkinListCtrl: a report list that paints itself off-screen on white, shows the selected row in grey
// without the system highlight, carries the painted header (CSkinHeaderCtrl), and is scrolled through two
// bitmap scroll bars beside it (CSkinVerticleScrollbar, CSkinHorizontalScrollbar).
#pragma once

#include "framework/win32/win32_api.h"

namespace quorvel::skin {

class CSkinListCtrl {
 public:
  // Subclasses the list and its header, turns the list's own scroll bars off and creates the two bars as
  // children of the list's parent. The object must outlive the list window.
  CSkinListCtrl(HINSTANCE instance, HWND list);
  ~CSkinListCtrl();
  CSkinListCtrl(const CSkinListCtrl&) = delete;
  CSkinListCtrl& operator=(const CSkinListCtrl&) = delete;

  HWND window() const;
  // A WM_NOTIFY that the list sent its dialog: answers the row drawing (NM_CUSTOMDRAW). true: answered,
  // `result` is the notification's result.
  bool OnParentNotify(const NMHDR& header, LRESULT& result);
};

}  // namespace quorvel::skin
