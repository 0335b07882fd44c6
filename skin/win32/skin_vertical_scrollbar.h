// CSkinVerticleScrollbar: the bitmap scroll bar to the right of a skinned list. A thumb drag moves the list by
// whole rows.
#pragma once

#include "skin/win32/skin_scrollbar.h"

namespace quorvel::skin {

class CSkinVerticleScrollbar : public SkinScrollBar {
 public:
  explicit CSkinVerticleScrollbar(HINSTANCE instance);

  static constexpr BarBitmapIds kPictures{.firstArrow = 234, .secondArrow = 237, .thumb = 236, .track = 235,
                                          .firstArrowLight = 383, .secondArrowLight = 385, .trackLight = 384};

 protected:
  void ScrollListBy(int rows) override;
};

}  // namespace quorvel::skin
