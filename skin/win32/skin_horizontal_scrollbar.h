// CSkinHorizontalScrollbar: the bitmap scroll bar below a skinned list. A thumb drag moves the list by pixels.
#pragma once

#include "skin/win32/skin_scrollbar.h"

namespace quorvel::skin {

class CSkinHorizontalScrollbar : public SkinScrollBar {
 public:
  explicit CSkinHorizontalScrollbar(HINSTANCE instance);

 protected:
  void ScrollListBy(int pixels) override;
};

}  // namespace quorvel::skin
