#include "skin/win32/skin_horizontal_scrollbar.h"

#include <commctrl.h>

namespace quorvel::skin {

CSkinHorizontalScrollbar::CSkinHorizontalScrollbar(HINSTANCE instance)
    : SkinScrollBar(ScrollAxis::Horizontal, instance, kPictures) {}

void CSkinHorizontalScrollbar::ScrollListBy(int pixels) { ::SendMessageA(list(), LVM_SCROLL, pixels, 0); }

}  // namespace quorvel::skin
