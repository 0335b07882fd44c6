#include "app/vantor_app.h"

#include "app/vantor_dlg.h"

namespace quorvel {

bool CVantorApp::InitInstance() {
  if (!protocol_.NetStartup()) {
    exitCode_ = 1;  // no window is ever shown
    return false;
  }
  CVantorDlg dialog(protocol_, platform_);
  ui_.RunModal(dialog);
  return false;
}

}  // namespace quorvel
