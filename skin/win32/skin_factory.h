// The program's look: gives each dialog window the look that its template has (skin/dialog_looks.h).
#pragma once

#include "framework/win32/window_skin.h"

namespace quorvel::skin {

ui::SkinFactory MakeSkinFactory();

// Starts decoding, beside the caller, the pictures that the window of `templateId` shows from its start
// (its background, its buttons' faces, its lists' header and bars) at the primary monitor's DPI, where the
// first window opens: the window, made meanwhile, finds them ready. Returns at once.
void DecodeAhead(HINSTANCE instance, int templateId);

}  // namespace quorvel::skin
