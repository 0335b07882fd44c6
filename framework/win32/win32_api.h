// The Windows headers, as the framework's Windows files see them. <windows.h> defines macros under names
// that the framework uses for its own (IDOK, MessageBox, NM_CLICK, ...); they are removed here, so that past
// this header those names mean the framework's. Include it instead of <windows.h> (or right after it).
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <commctrl.h>

#undef IDOK
#undef IDCANCEL
#undef BN_CLICKED
#undef CBN_SELCHANGE
#undef NM_CLICK
#undef MessageBox
#undef SetWindowText
