#include "skin/win32/skin_factory.h"

#include <memory>
#include <utility>
#include <vector>

#include "framework/win32/dpi.h"
#include "skin/dialog_looks.h"
#include "skin/win32/art_cache.h"
#include "skin/win32/skin_list_ctrl.h"
#include "skin/win32/skinned_dialog.h"

namespace quorvel::skin {

ui::SkinFactory MakeSkinFactory() {
  return [](HINSTANCE instance, HWND dialog, int templateId) -> std::unique_ptr<ui::WindowSkin> {
    const DialogLook* look = FindDialogLook(templateId);
    if (look == nullptr) return nullptr;  // the standard look
    return std::make_unique<SkinnedDialog>(instance, dialog, *look);
  };
}

void DecodeAhead(HINSTANCE instance, int templateId) {
  const DialogLook* look = FindDialogLook(templateId);
  if (look == nullptr) return;
  std::vector<int> pictures{look->backgroundBitmap};
  for (const ButtonFaces& faces : look->buttons) pictures.push_back(faces.normal);
  if (!look->lists.empty()) {
    const std::vector<int> lists = CSkinListCtrl::Pictures();
    pictures.insert(pictures.end(), lists.begin(), lists.end());
  }
  ArtCache::Shared().DecodeAhead(instance, std::move(pictures), ui::PrimaryMonitorDpi());
}

}  // namespace quorvel::skin
