#include "framework/dialog_template.h"

#include "framework/dpi_scale.h"

namespace quorvel::ui {

namespace {

constexpr std::uint32_t kSetFont = 0x40;  // DS_SETFONT (DS_SHELLFONT includes it)

// Little-endian reads that fail (ok() false) from the first read past the end on.
class TemplateReader {
 public:
  explicit TemplateReader(std::span<const std::byte> bytes) : bytes_(bytes) {}

  bool ok() const { return ok_; }
  std::uint32_t Read(std::size_t size) {
    if (!ok_ || offset_ > bytes_.size() || size > bytes_.size() - offset_) {
      ok_ = false;
      return 0;
    }
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) value |= std::to_integer<std::uint32_t>(bytes_[offset_ + i]) << (8 * i);
    offset_ += size;
    return value;
  }
  int Short() { return static_cast<std::int16_t>(Read(2)); }
  std::u16string Text() {
    std::u16string text;
    for (char16_t c = static_cast<char16_t>(Read(2)); ok_ && c != 0; c = static_cast<char16_t>(Read(2))) text += c;
    return text;
  }
  // A name or a number: 0 none, 0xFFFF then the number, else a text.
  void SkipNameOrNumber() {
    const std::uint32_t first = Read(2);
    if (first == 0xFFFF) {
      Read(2);
    } else if (first != 0) {
      Text();
    }
  }
  void Skip(std::size_t size) {
    if (!ok_ || offset_ > bytes_.size() || size > bytes_.size() - offset_) {
      ok_ = false;
    } else {
      offset_ += size;
    }
  }
  void AlignToDword() { Skip((4 - offset_ % 4) % 4); }

 private:
  std::span<const std::byte> bytes_;
  std::size_t offset_ = 0;
  bool ok_ = true;
};

DialogUnits ReadUnits(TemplateReader& in) {
  DialogUnits units;
  units.x = in.Short();
  units.y = in.Short();
  units.cx = in.Short();
  units.cy = in.Short();
  return units;
}

}  // namespace

std::optional<DialogTemplateInfo> ReadDialogTemplate(std::span<const std::byte> bytes) {
  TemplateReader in(bytes);
  if (in.Read(2) != 1 || in.Read(2) != 0xFFFF) return std::nullopt;  // not the extended form
  DialogTemplateInfo info;
  in.Read(4);  // help id
  info.exStyle = in.Read(4);
  info.style = in.Read(4);
  const std::uint32_t count = in.Read(2);
  info.size = ReadUnits(in);
  in.SkipNameOrNumber();  // menu
  in.SkipNameOrNumber();  // window class
  in.Text();              // caption
  if ((info.style & kSetFont) != 0) {
    info.pointSize = static_cast<int>(in.Read(2));
    info.weight = static_cast<int>(in.Read(2));
    info.italic = in.Read(1) != 0;
    info.charset = static_cast<int>(in.Read(1));
    info.face = in.Text();
  }
  for (std::uint32_t i = 0; i < count && in.ok(); ++i) {
    in.AlignToDword();
    in.Read(4);  // help id
    in.Read(4);  // extended style
    in.Read(4);  // style
    info.controls.push_back(ReadUnits(in));
    in.Read(4);  // id
    in.SkipNameOrNumber();  // class
    in.SkipNameOrNumber();  // text
    in.Skip(in.Read(2));    // creation data
  }
  if (!in.ok()) return std::nullopt;
  return info;
}

PixelBox DialogUnitsToPixels(const DialogUnits& units, BaseUnits base) {
  // The dialog manager's MulDiv: x and widths in quarters of the base width, y and heights in eighths of
  // the base height.
  const int left = ScaleBetween(units.x, 4, base.x);
  const int top = ScaleBetween(units.y, 8, base.y);
  return {left, top, left + ScaleBetween(units.cx, 4, base.x), top + ScaleBetween(units.cy, 8, base.y)};
}

}  // namespace quorvel::ui
