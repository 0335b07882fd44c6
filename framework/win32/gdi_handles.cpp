#include "framework/win32/gdi_handles.h"

#include <utility>

namespace quorvel::ui {

FontHandle CreateFontFrom(const FontDescription& font) {
  return FontHandle(::CreateFontA(font.height, 0, 0, 0, font.weight, 0, 0, 0, static_cast<DWORD>(font.charset),
                                  0, 0, 0, 0, font.face.c_str()));
}

WindowDc::WindowDc(WindowDc&& other) noexcept
    : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}

WindowDc& WindowDc::operator=(WindowDc&& other) noexcept {
  if (this != &other) {
    Reset();
    window_ = std::exchange(other.window_, nullptr);
    dc_ = std::exchange(other.dc_, nullptr);
  }
  return *this;
}

void WindowDc::Reset() {
  if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
  dc_ = nullptr;
  window_ = nullptr;
}

}  // namespace quorvel::ui
