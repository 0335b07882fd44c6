// CSkinHorizontalScrollbar: the bitmap scroll bar below a skinned list. A thumb drag moves the list by pixels.
#pragma once

#include "skin/win32/skin_scrollbar.h"

namespace quorvel::skin {

class CSkinHorizontalScrollbar : public SkinScrollBar {
 public:
  explicit CSkinHorizontalScrollbar(HINSTANCE instance);

  static constexpr BarBitmapIds kPictures{.firstArrow = 233, .secondArrow = 231, .thumb = 243, .track = 232,
                                          .firstArrowLight = 380, .secondArrowLight = 381, .trackLight = 382};

 protected:
  void ScrollListBy(int pixels) override;
};

}  // namespace quorvel::skin
