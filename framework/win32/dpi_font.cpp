#include "framework/win32/dpi_font.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <utility>

#include "framework/dpi_scale.h"

namespace quorvel::ui {

namespace {

// The 96-DPI description of every living DpiFont, by its handle.
struct References {
  std::mutex mutex;
  std::map<HFONT, LOGFONTA> byFont;
};

References& Known() {
  static References references;
  return references;
}

}  // namespace

DpiFont::DpiFont(const LOGFONTA& reference, int dpi) {
  LOGFONTA scaled = reference;
  scaled.lfHeight = ScaleToDpi(reference.lfHeight, dpi);
  scaled.lfWidth = ScaleToDpi(reference.lfWidth, dpi);
  font_ = FontHandle(::CreateFontIndirectA(&scaled));
  if (!font_) return;
  References& known = Known();
  const std::lock_guard<std::mutex> lock(known.mutex);
  known.byFont[font_.get()] = reference;
}

DpiFont::~DpiFont() { Forget(); }

DpiFont::DpiFont(DpiFont&& other) noexcept : font_(std::move(other.font_)) {}

DpiFont& DpiFont::operator=(DpiFont&& other) noexcept {
  if (this != &other) {
    Forget();
    font_ = std::move(other.font_);
  }
  return *this;
}

// The handle leaves the table before the font is deleted: a new font given the same handle later is not
// taken for this one.
void DpiFont::Forget() {
  if (!font_) return;
  {
    References& known = Known();
    const std::lock_guard<std::mutex> lock(known.mutex);
    known.byFont.erase(font_.get());
  }
  font_.Reset();
}

std::optional<LOGFONTA> DpiFont::ReferenceOf(HFONT font) {
  References& known = Known();
  const std::lock_guard<std::mutex> lock(known.mutex);
  const auto found = known.byFont.find(font);
  if (found == known.byFont.end()) return std::nullopt;
  return found->second;
}

LOGFONTA ReferenceFont(const FontDescription& font) {
  LOGFONTA description{};
  description.lfHeight = font.height;
  description.lfWeight = font.weight;
  description.lfCharSet = static_cast<BYTE>(font.charset);
  const std::size_t length = std::min<std::size_t>(font.face.size(), LF_FACESIZE - 1);
  std::copy_n(font.face.begin(), length, description.lfFaceName);
  return description;
}

}  // namespace quorvel::ui
