// A dialog template (the extended form the resource compiler makes of a DIALOGEX) read from its bytes:
// the dialog's size, its font and its controls' rectangles in dialog units, and those rectangles as the
// dialog manager turns them into pixels for a font's base units. The program's reference layout is the
// pixels at 96 DPI; other DPIs scale it (framework/dpi_scale.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quorvel::ui {

// x, y, width, height in dialog units.
struct DialogUnits {
  int x = 0;
  int y = 0;
  int cx = 0;
  int cy = 0;
};

struct DialogTemplateInfo {
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  DialogUnits size;          // the dialog's client area (x and y are the template's position)
  int pointSize = 0;         // 0: the template names no font
  int weight = 0;
  bool italic = false;
  int charset = 0;
  std::u16string face;
  std::vector<DialogUnits> controls;  // in template order, which is the order the controls are made in
};

// The template's contents; nullopt for bytes that are not a whole extended template.
std::optional<DialogTemplateInfo> ReadDialogTemplate(std::span<const std::byte> bytes);

// A font's dialog base units: the average character width and the character height, in pixels.
struct BaseUnits {
  int x = 0;
  int y = 0;
};

// Pixels, right and bottom exclusive.
struct PixelBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const PixelBox&) const = default;
};

// Dialog units in pixels as the dialog manager maps them: position and size each rounded on their own.
PixelBox DialogUnitsToPixels(const DialogUnits& units, BaseUnits base);

}  // namespace quorvel::ui
