#include "framework/win32/win32_ui.h"

#include "framework/win32/modal_run.h"

namespace quorvel::ui {

Win32Ui::Win32Ui(HINSTANCE instance) : instance_(instance != nullptr ? instance : ::GetModuleHandleA(nullptr)) {
  INITCOMMONCONTROLSEX classes{};
  classes.dwSize = sizeof classes;
  classes.dwICC = ICC_LISTVIEW_CLASSES | ICC_INTERNET_CLASSES | ICC_STANDARD_CLASSES;
  ::InitCommonControlsEx(&classes);
}

int Win32Ui::RunModal(Dialog& dialog) { return RunDialogModal(instance_, dialog, nullptr); }

}  // namespace quorvel::ui
