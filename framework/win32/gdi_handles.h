// Owners of the GDI handles the backend makes: the objects it creates, a window's device context it borrows.
#pragma once

#include "framework/win32/win32_api.h"

#include <utility>

#include "framework/controls.h"

namespace quorvel::ui {

struct DeleteGdiObject {
  void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};
struct DestroyIconObject {
  void operator()(HICON icon) const { ::DestroyIcon(icon); }
};

// A GDI object (font, bitmap, region, brush) this program created, or with DestroyIconObject an icon it
// loaded at a size of its own (not shared by the system); deleted with its owner.
template <class Handle, class Delete = DeleteGdiObject>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  ~GdiObject() { Reset(); }
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Gives the object up, for a call that takes it over (SetWindowRgn).
  Handle Release() { return std::exchange(handle_, nullptr); }
  void Reset() {
    if (handle_ != nullptr) Delete{}(handle_);
    handle_ = nullptr;
  }

 private:
  Handle handle_ = nullptr;
};

using FontHandle = GdiObject<HFONT>;
using IconHandle = GdiObject<HICON, DestroyIconObject>;

// Face, height, weight and character set as given; every other attribute 0.
FontHandle CreateFontFrom(const FontDescription& font);

// The device context of a window's client area, from GetDC until ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
  ~WindowDc() { Reset(); }
  WindowDc(WindowDc&& other) noexcept;
  WindowDc& operator=(WindowDc&& other) noexcept;
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  void Reset();

  HWND window_ = nullptr;
  HDC dc_ = nullptr;
};

}  // namespace quorvel::ui
