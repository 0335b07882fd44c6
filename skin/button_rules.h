// The arithmetic of the picture buttons: which kind a template's button style makes, how a draw mode is
// taken, and where the copies of a tiled face go.
#pragma once

#include <vector>

#include "skin/region.h"

namespace quorvel::skin {

// The behaviour a picture button keeps from its template style (the numbers are the style values of a
// plain check box and radio button).
enum class ButtonKind { Push = 0, CheckBox = 2, Radio = 4 };

// An automatic check box (style bits 3 all set) or automatic radio button (bits 9 all set); else a push
// button. Read before the button is made owner-drawn.
ButtonKind ButtonKindFromStyle(unsigned long style);

// 0 copies a face unscaled, 1 stretches it, 2 tiles it; values above 2 tile, negative ones copy.
enum DrawMode { kDrawCopy = 0, kDrawStretch = 1, kDrawTile = 2 };
int NormalisedDrawMode(int mode);

// The copies that tile `area` with a face of tileWidth x tileHeight: bands from the top down, each filled
// from the left; the last copy of a band and the last band are cut to fit. Each copy takes the face's
// top-left part of its own size. A face without pixels tiles nothing.
std::vector<PixelRect> TileCopies(const PixelRect& area, int tileWidth, int tileHeight);

}  // namespace quorvel::skin
