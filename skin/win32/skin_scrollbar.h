// What the two bitmap scroll bars beside a skinned list have in common: a "Static" child window of the
// list's parent that draws the arrows, the track and the thumb off-screen, follows the list's scroll state,
// and scrolls the list with the mouse (arrows held: a line at once on release, then a line every 50 ms after
// 250 ms; the track: a page; the thumb: dragged). CSkinVerticleScrollbar and CSkinHorizontalScrollbar give
// the axis, the bitmaps and how a drag moves the list.
#pragma once

#include "framework/win32/win32_api.h"

#include "skin/scroll_geometry.h"
#include "skin/win32/gdi.h"
#include "skin/win32/subclassed_window.h"

namespace quorvel::skin {

// The bitmaps of one bar by resource number: for a list that can scroll, and the lighter ones for one that
// cannot.
struct BarBitmapIds {
  int firstArrow;
  int secondArrow;
  int thumb;
  int track;
  int firstArrowLight;
  int secondArrowLight;
  int trackLight;
};

class SkinScrollBar : public SubclassedWindow {
 public:
  virtual ~SkinScrollBar();

  // Makes the bar window as a child of `parent` (empty rectangle, id 0xFFFF) serving `list`. false: no window.
  bool Create(HWND parent, HWND list);
  // Moves and sizes the bar, keeping its z-order.
  void Place(int x, int y, int width, int height);
  // Recomputes the thumb from the list's scroll limit and position, and redraws the bar.
  void UpdateThumb();
  // Takes the pictures made for the DPI the bar's window is laid out for (again after a DPI change).
  void LoadPictures();

 protected:
  SkinScrollBar(ScrollAxis axis, HINSTANCE instance, const BarBitmapIds& bitmaps);

  HWND list() const { return list_; }
  // Moves the list by `units` scroll units of this bar's axis (a thumb drag).
  virtual void ScrollListBy(int units) = 0;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  int ScrollBarKind() const;
  int ListLimit() const;
  BarSize Size() const;
  void Paint(HDC dc, const RECT& client);
  void Press(int x, int y);
  void Move(int x, int y);
  void Release(int x, int y);
  void Tick(UINT_PTR timer);
  void Cancel();  // timers off, flags cleared, capture given back
  void Scroll(int request);  // SB_LINEUP..SB_PAGEDOWN (the same numbers as SB_LINELEFT..SB_PAGERIGHT)
  void Redraw();

  ScrollAxis axis_;
  HINSTANCE instance_;
  BarBitmapIds ids_;
  HWND list_ = nullptr;
  int thumb_;
  HeldFlags held_;
  bool dragging_ = false;
  BitmapHandle firstArrow_, secondArrow_, thumbPicture_, track_, firstArrowLight_, secondArrowLight_, trackLight_;
};

}  // namespace quorvel::skin
