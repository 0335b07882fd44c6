#include "skin/win32/skin_scrollbar.h"

#include <commctrl.h>

#include "framework/win32/dpi.h"
#include "skin/win32/mem_dc.h"

namespace quorvel::skin {

namespace {

constexpr UINT_PTR kRepeatTimer = 1;      // a line every 50 ms while an arrow is held
constexpr UINT_PTR kFirstDelayTimer = 2;  // 250 ms before the repeat starts
constexpr UINT kRepeatMs = 50;
constexpr UINT kFirstDelayMs = 250;
constexpr int kBarControlId = 0xFFFF;

// Stretches the first row (vertical) or the first column (horizontal) of a strip bitmap over `dest`.
void StretchStrip(HDC target, HBITMAP strip, ScrollAxis axis, const PixelRect& dest) {
  const SIZE size = BitmapSize(strip);
  if (size.cx <= 0 || size.cy <= 0) return;
  MemoryDc source(target);
  SelectedObject selected(source.get(), strip);
  if (!selected.ok()) return;
  const bool vertical = axis == ScrollAxis::Vertical;
  ::StretchBlt(target, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source.get(), 0, 0,
               vertical ? size.cx : 1, vertical ? 1 : size.cy, SRCCOPY);
}

void DrawAt(HDC target, HBITMAP picture, const PixelRect& place) {
  const RECT rect{place.left, place.top, place.right, place.bottom};
  DrawBitmap(target, picture, rect, false);
}

}  // namespace

SkinScrollBar::SkinScrollBar(ScrollAxis axis, HINSTANCE instance, const BarBitmapIds& bitmaps)
    : axis_(axis), instance_(instance), ids_(bitmaps), thumb_(InitialThumb(axis)) {}

void SkinScrollBar::LoadPictures() {
  const int dpi = ui::WindowDpi(hwnd());
  const auto load = [&](int id) { return LoadBitmapResource(instance_, id, false, dpi); };
  firstArrow_ = load(ids_.firstArrow);
  secondArrow_ = load(ids_.secondArrow);
  thumbPicture_ = load(ids_.thumb);
  track_ = load(ids_.track);
  firstArrowLight_ = load(ids_.firstArrowLight);
  secondArrowLight_ = load(ids_.secondArrowLight);
  trackLight_ = load(ids_.trackLight);
  Redraw();
}

// A bar that outlives its object goes with it (its timers with the window).
SkinScrollBar::~SkinScrollBar() {
  HWND bar = hwnd();
  Unsubclass();
  if (bar != nullptr) ::DestroyWindow(bar);
}

bool SkinScrollBar::Create(HWND parent, HWND list) {
  list_ = list;
  const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(parent, GWLP_HINSTANCE));
  HWND bar = ::CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE | WS_GROUP | SS_NOTIFY, 0, 0, 0, 0, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kBarControlId)), instance, nullptr);
  if (!Subclass(bar)) return false;
  thumb_ = InitialThumb(axis_, ui::WindowDpi(bar));
  LoadPictures();
  return true;
}

void SkinScrollBar::Place(int x, int y, int width, int height) {
  if (hwnd() != nullptr) ::SetWindowPos(hwnd(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int SkinScrollBar::ScrollBarKind() const { return axis_ == ScrollAxis::Vertical ? SB_VERT : SB_HORZ; }

int SkinScrollBar::ListLimit() const {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE;
  if (list_ == nullptr || !::GetScrollInfo(list_, ScrollBarKind(), &info)) return 0;
  return ScrollLimit(info.nMax, static_cast<int>(info.nPage));
}

BarSize SkinScrollBar::Size() const {
  RECT client{};
  if (hwnd() != nullptr) ::GetClientRect(hwnd(), &client);
  return {axis_, client.right, client.bottom, ui::WindowDpi(hwnd())};
}

void SkinScrollBar::UpdateThumb() {
  if (hwnd() == nullptr || list_ == nullptr) return;
  thumb_ = ThumbForPosition(Size(), ListLimit(), ::GetScrollPos(list_, ScrollBarKind()));
  Redraw();
}

void SkinScrollBar::Redraw() {
  if (hwnd() != nullptr) ::InvalidateRect(hwnd(), nullptr, FALSE);
}

// The grey pieces and the thumb for a list that can scroll, the lighter pieces and no thumb otherwise.
void SkinScrollBar::Paint(HDC dc, const RECT& client) {
  const bool vertical = axis_ == ScrollAxis::Vertical;
  ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(vertical ? BLACK_BRUSH : WHITE_BRUSH)));
  const BarPieces pieces = PlacePieces(Size(), thumb_);
  if (ListLimit() > 0) {
    StretchStrip(dc, track_.get(), axis_, pieces.track);
    DrawAt(dc, firstArrow_.get(), pieces.firstArrow);
    DrawAt(dc, secondArrow_.get(), pieces.secondArrow);
    DrawAt(dc, thumbPicture_.get(), pieces.thumb);
  } else {
    StretchStrip(dc, trackLight_.get(), axis_, pieces.track);
    DrawAt(dc, firstArrowLight_.get(), pieces.firstArrow);
    DrawAt(dc, secondArrowLight_.get(), pieces.secondArrow);
  }
}

void SkinScrollBar::Press(int x, int y) {
  ::SetCapture(hwnd());
  const BarSize size = Size();
  if (ThumbHit(size, thumb_).contains(x, y)) held_.thumbPressed = true;
  if (FirstArrowOnPress(size).contains(x, y)) held_.firstArrow = true;
  if (SecondArrow(size).contains(x, y)) held_.secondArrow = true;
  if (held_.firstArrow || held_.secondArrow) ::SetTimer(hwnd(), kFirstDelayTimer, kFirstDelayMs, nullptr);
}

void SkinScrollBar::Move(int x, int y) {
  if (held_.thumbPressed) dragging_ = true;
  if (!dragging_) return;
  const ThumbDrag drag = DragThumb(Size(), ListLimit(), Size().along(x, y));
  if (drag.scrolls) {
    const int difference = drag.target - ::GetScrollPos(list_, ScrollBarKind());
    if (difference != 0) ScrollListBy(difference);
  }
  thumb_ = drag.thumb;
  Redraw();
}

void SkinScrollBar::Release(int x, int y) {
  UpdateThumb();
  const ReleaseAction action = ActOnRelease(Size(), thumb_, held_, x, y);
  Cancel();
  switch (action) {
    case ReleaseAction::LineBack: Scroll(SB_LINEUP); break;
    case ReleaseAction::LineForward: Scroll(SB_LINEDOWN); break;
    case ReleaseAction::PageBack: Scroll(SB_PAGEUP); break;
    case ReleaseAction::PageForward: Scroll(SB_PAGEDOWN); break;
    case ReleaseAction::None: break;
  }
}

void SkinScrollBar::Cancel() {
  // Both timers stop: a first delay left running would go on firing with nothing held.
  ::KillTimer(hwnd(), kRepeatTimer);
  ::KillTimer(hwnd(), kFirstDelayTimer);
  held_ = HeldFlags{};
  dragging_ = false;
  if (hwnd() != nullptr && ::GetCapture() == hwnd()) ::ReleaseCapture();
}

void SkinScrollBar::Tick(UINT_PTR timer) {
  const bool arrowHeld = held_.firstArrow || held_.secondArrow;
  if (timer == kFirstDelayTimer && arrowHeld) {
    ::KillTimer(hwnd(), kFirstDelayTimer);
    ::SetTimer(hwnd(), kRepeatTimer, kRepeatMs, nullptr);
  } else if (timer == kRepeatTimer) {
    if (held_.firstArrow) Scroll(SB_LINEUP);
    if (held_.secondArrow) Scroll(SB_LINEDOWN);
  }
}

void SkinScrollBar::Scroll(int request) {
  ::SendMessageA(list_, axis_ == ScrollAxis::Vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(request, 0), 0);
  UpdateThumb();
}

bool SkinScrollBar::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const int x = static_cast<short>(LOWORD(lParam));
  const int y = static_cast<short>(HIWORD(lParam));
  result = 0;
  switch (message) {
    case WM_PAINT:
      PaintOffScreen(hwnd(), [this](HDC, HDC memory, const RECT& client) { Paint(memory, client); });
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // a quick second click on an arrow is a second press, not a double click
      Press(x, y);
      return true;
    case WM_MOUSEMOVE:
      Move(x, y);
      return true;
    case WM_LBUTTONUP:
      Release(x, y);
      return true;
    case WM_TIMER:
      Tick(wParam);
      return true;
    case WM_CAPTURECHANGED:
      // The capture taken away mid-press (another window, a message box): stop, or a held arrow would
      // go on scrolling with no button down.
      if (reinterpret_cast<HWND>(lParam) != hwnd()) Cancel();
      return false;
    default:
      return false;
  }
}

}  // namespace quorvel::skin
