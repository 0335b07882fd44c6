// Whether a window is of a class, by its registered class name (compared ignoring case, as the system
// compares class names).
#pragma once

#include "framework/win32/win32_api.h"

namespace quorvel::ui {

bool HasWindowClass(HWND window, const char* className);

}  // namespace quorvel::ui
