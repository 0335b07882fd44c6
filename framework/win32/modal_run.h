// Runs one dialog modally from its template in the module's resources, over a real window.
#pragma once

#include "framework/win32/win32_api.h"

#include "framework/dialog.h"
#include "framework/win32/window_skin.h"

namespace quorvel::ui {

// The dialog's result (EndDialog's value), or -1 when the window could not be made (a missing template)
// or the dialog is already open. An exception thrown by one of the dialog's handlers does not go through
// the window procedure: the dialog is ended, and the exception is thrown again from here.
// `skins` (may be empty) gives the window its look.
int RunDialogModal(HINSTANCE instance, Dialog& dialog, HWND parent, const SkinFactory& skins);

}  // namespace quorvel::ui
