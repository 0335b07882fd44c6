// The about box: the application icon, the product name, the version and one OK button.
#pragma once

#include "framework/dialog.h"
#include "res/resource.h"

namespace quorvel {

class showabout : public ui::Dialog {
 public:
  showabout() : ui::Dialog(IDD_ABOUT) {}
};

}  // namespace quorvel
