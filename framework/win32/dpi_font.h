// A font made for a DPI from its description at 96 DPI, which it keeps: a font for any other DPI is made
// from that description again, never from the size of the font before, so a window that went through
// several DPIs has the font of a window started at its DPI.
#pragma once

#include "framework/win32/win32_api.h"

#include <optional>

#include "framework/controls.h"
#include "framework/win32/gdi_handles.h"

namespace quorvel::ui {

class DpiFont {
 public:
  DpiFont() = default;
  // The font of `reference` (heights and widths in 96-DPI pixels) at `dpi`.
  DpiFont(const LOGFONTA& reference, int dpi);
  ~DpiFont();
  DpiFont(DpiFont&& other) noexcept;
  DpiFont& operator=(DpiFont&& other) noexcept;
  DpiFont(const DpiFont&) = delete;
  DpiFont& operator=(const DpiFont&) = delete;

  HFONT get() const { return font_.get(); }
  explicit operator bool() const { return static_cast<bool>(font_); }

  // The 96-DPI description of a font made by a DpiFont that still lives; nothing for any other font.
  static std::optional<LOGFONTA> ReferenceOf(HFONT font);

 private:
  void Forget();

  FontHandle font_;
};

// Face, height, weight and character set as given (96-DPI pixels); every other attribute 0.
LOGFONTA ReferenceFont(const FontDescription& font);

}  // namespace quorvel::ui
