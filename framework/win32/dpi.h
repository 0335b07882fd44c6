// The DPI of the program's windows. The functions that only newer systems have (per-window and
// per-monitor DPI, DPI-aware frame sizes, the dialog manager's own rescaling) are looked up at run time;
// without them every window has the screen's DPI.
#pragma once

#include "framework/win32/win32_api.h"

namespace quorvel::ui {

// Makes the calling thread's windows per-monitor aware (version 2) where the system knows that, as the
// manifest asks for the whole process.
void BecomePerMonitorAware();

// The DPI a window is laid out for: the one its dialog was last laid out for (a window of a dialog
// follows the dialog's WM_DPICHANGED), else the system's DPI of the window, of its monitor, or of the
// screen.
int WindowDpi(HWND window);

// The DPI a window opening on the primary monitor gets now: the screen's DPI of the session's start may
// differ from it (the scale changed since).
int PrimaryMonitorDpi();

// Records the DPI a dialog and its controls are laid out for.
void SetLayoutDpi(HWND dialog, int dpi);
void ForgetLayoutDpi(HWND dialog);

// The window rectangle around a client rectangle at `dpi` (frame and caption at that DPI where the
// system can say).
RECT WindowRectForClient(const RECT& client, DWORD style, DWORD exStyle, int dpi);

// System metric `index` (an icon's size, say) at `dpi`: the system's answer for that DPI where it can
// give one, else its answer for the screen scaled.
int SystemMetricAt(int index, int dpi);

// Turns off the dialog manager's own answer to a DPI change (new font, new control sizes) for the dialog
// and its controls: the program lays them out itself.
void KeepDialogManagerFromRescaling(HWND dialog);

}  // namespace quorvel::ui
