// CMemDC: an off-screen copy of a rectangle of a device context. Drawing goes into a memory context with a
// compatible bitmap of the rectangle's size; the destructor copies the rectangle back to the target in one
// blit (no flicker), selects the previous bitmap back and frees its own.
#pragma once

#include "framework/win32/win32_api.h"

#include "skin/win32/gdi.h"

namespace quorvel::skin {

class CMemDC {
 public:
  // `target` is the context painted in the end, `rect` the part of it, in target coordinates. The memory
  // context uses the same coordinates (its origin is moved to the rectangle's top left).
  CMemDC(HDC target, const RECT& rect)
      : target_(target),
        rect_(rect),
        memory_(target),
        bitmap_(memory_ ? ::CreateCompatibleBitmap(target, Width(rect), Height(rect)) : nullptr),
        selected_(memory_.get(), bitmap_.get()) {
    if (ok()) ::SetWindowOrgEx(memory_.get(), rect.left, rect.top, nullptr);
  }
  ~CMemDC() {
    if (!ok()) return;
    ::SetWindowOrgEx(memory_.get(), 0, 0, nullptr);
    ::BitBlt(target_, rect_.left, rect_.top, Width(rect_), Height(rect_), memory_.get(), 0, 0, SRCCOPY);
  }
  CMemDC(const CMemDC&) = delete;
  CMemDC& operator=(const CMemDC&) = delete;

  // false when the off-screen copy could not be made; dc() is then the target itself.
  bool ok() const { return selected_.ok(); }
  HDC dc() const { return ok() ? memory_.get() : target_; }
  const RECT& rect() const { return rect_; }

 private:
  static int Width(const RECT& rect) { return rect.right - rect.left; }
  static int Height(const RECT& rect) { return rect.bottom - rect.top; }

  HDC target_;
  RECT rect_;
  MemoryDc memory_;
  BitmapHandle bitmap_;       // goes after the selection gives the previous bitmap back
  SelectedObject selected_;
};

// Answers a window's WM_PAINT off-screen: `draw(paintDc, memoryDc, client)` draws into a CMemDC over the
// client rectangle, which is then copied to the window in one blit.
template <class Draw>
void PaintOffScreen(HWND window, Draw&& draw) {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(window, &paint);
  if (dc == nullptr) return;
  RECT client{};
  ::GetClientRect(window, &client);
  {
    CMemDC memory(dc, client);
    draw(dc, memory.dc(), client);
  }
  ::EndPaint(window, &paint);
}

}  // namespace quorvel::skin
