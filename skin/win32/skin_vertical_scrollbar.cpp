#include "skin/win32/skin_vertical_scrollbar.h"

#include <commctrl.h>

namespace quorvel::skin {

CSkinVerticleScrollbar::CSkinVerticleScrollbar(HINSTANCE instance)
    : SkinScrollBar(ScrollAxis::Vertical, instance, kPictures) {}

// The list scrolls by pixels; whole rows of the height of row 0.
void CSkinVerticleScrollbar::ScrollListBy(int rows) {
  RECT row{};
  row.left = LVIR_BOUNDS;
  if (::SendMessageA(list(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)) == 0) return;
  ::SendMessageA(list(), LVM_SCROLL, 0, static_cast<LPARAM>(rows) * (row.bottom - row.top));
}

}  // namespace quorvel::skin
