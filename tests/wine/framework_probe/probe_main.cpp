// Runs the probe dialog and reports how the run ended.
#include "framework/win32/win32_api.h"

#include "framework/win32/win32_ui.h"
#include "probe_dialog.h"
#include "probe_report.h"

int main() {
  quorvel::ui::Win32Ui ui;
  probe::ProbeDialog dialog;
  const int result = ui.RunModal(dialog);
  probe::Report("run.result", result);
  probe::Report("run.destroy_count", dialog.destroyCount());
  probe::Report("run.detached", !dialog.isOpen());
  probe::Report("run.font_deleted", ::GetObjectType(dialog.listFont()) == 0);
  probe::Report("done", true);
  return 0;
}
