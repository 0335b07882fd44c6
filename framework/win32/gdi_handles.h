// Owners of the GDI handles the backend makes: a font it creates, a window's device context it borrows.
#pragma once

#include "framework/win32/win32_api.h"

#include "framework/controls.h"

namespace quorvel::ui {

// A font this program created; deleted with its owner.
class FontHandle {
 public:
  FontHandle() = default;
  explicit FontHandle(HFONT font) : font_(font) {}
  ~FontHandle() { Reset(); }
  FontHandle(FontHandle&& other) noexcept : font_(other.Release()) {}
  FontHandle& operator=(FontHandle&& other) noexcept;
  FontHandle(const FontHandle&) = delete;
  FontHandle& operator=(const FontHandle&) = delete;

  HFONT get() const { return font_; }
  explicit operator bool() const { return font_ != nullptr; }

 private:
  HFONT Release();
  void Reset();

  HFONT font_ = nullptr;
};

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
