#include "skin/win32/skin_factory.h"

#include <memory>

#include "skin/dialog_looks.h"
#include "skin/win32/skinned_dialog.h"

namespace quorvel::skin {

ui::SkinFactory MakeSkinFactory() {
  return [](HINSTANCE instance, HWND dialog, int templateId) -> std::unique_ptr<ui::WindowSkin> {
    const DialogLook* look = FindDialogLook(templateId);
    if (look == nullptr) return nullptr;  // the standard look
    return std::make_unique<SkinnedDialog>(instance, dialog, *look);
  };
}

}  // namespace quorvel::skin
