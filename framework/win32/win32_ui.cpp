#include "framework/win32/win32_ui.h"

#include "framework/win32/dpi.h"
#include "framework/win32/modal_run.h"

#include <utility>

namespace quorvel::ui {

Win32Ui::Win32Ui(HINSTANCE instance, SkinFactory skins)
    : instance_(instance != nullptr ? instance : ::GetModuleHandleA(nullptr)), skins_(std::move(skins)) {
  INITCOMMONCONTROLSEX classes{};
  classes.dwSize = sizeof classes;
  classes.dwICC = ICC_LISTVIEW_CLASSES | ICC_INTERNET_CLASSES | ICC_STANDARD_CLASSES;
  ::InitCommonControlsEx(&classes);
  BecomePerMonitorAware();
}

int Win32Ui::RunModal(Dialog& dialog) { return RunDialogModal(instance_, dialog, nullptr, skins_); }

}  // namespace quorvel::ui
