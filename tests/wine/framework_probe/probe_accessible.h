// The accessible object that a labelled control answers with, seen from inside the program (where
// COM hands the object itself, not a proxy that would keep one identity for it anyway).
#pragma once

#include "framework/win32/win32_api.h"

namespace probe {

// Reports acc.name (the object's name), acc.faces (the interfaces it gives besides IAccessible) and
// acc.identity: "same" when every one of them, asked for IUnknown, gives the object's own IUnknown and,
// asked for IAccessible, an object of the same name; else the first face that does not.
void ProbeAccessibleIdentity(HWND control);

}  // namespace probe
