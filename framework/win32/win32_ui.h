// Runs the program's top-level dialogs over real windows.
#pragma once

#include <windows.h>

#include "framework/dialog.h"
#include "framework/win32/window_skin.h"

namespace quorvel::ui {

class Win32Ui : public Ui {
 public:
  // The dialog templates come from `instance` (null: the executable itself). Registers the common controls
  // the templates use (list view, IP address editor, the standard ones). `skins` gives each dialog window
  // its look (empty: the standard one).
  explicit Win32Ui(HINSTANCE instance = nullptr, SkinFactory skins = {});
  Win32Ui(const Win32Ui&) = delete;
  Win32Ui& operator=(const Win32Ui&) = delete;

  int RunModal(Dialog& dialog) override;

 private:
  HINSTANCE instance_;
  SkinFactory skins_;
};

}  // namespace quorvel::ui
