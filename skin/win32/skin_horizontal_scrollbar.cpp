#include "skin/win32/skin_horizontal_scrollbar.h"

#include <commctrl.h>

namespace quorvel::skin {

CSkinHorizontalScrollbar::CSkinHorizontalScrollbar(HINSTANCE instance)
    : SkinScrollBar(ScrollAxis::Horizontal, instance,
                    BarBitmapIds{.firstArrow = 233, .secondArrow = 231, .thumb = 243, .track = 232,
                                 .firstArrowLight = 380, .secondArrowLight = 381, .trackLight = 382}) {}

void CSkinHorizontalScrollbar::ScrollListBy(int pixels) { ::SendMessageA(list(), LVM_SCROLL, pixels, 0); }

}  // namespace quorvel::skin
