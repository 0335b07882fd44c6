// The program's look: gives each dialog window the look that its template has (skin/dialog_looks.h).
#pragma once

#include "framework/win32/window_skin.h"

namespace quorvel::skin {

ui::SkinFactory MakeSkinFactory();

}  // namespace quorvel::skin
