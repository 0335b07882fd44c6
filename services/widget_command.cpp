#include "services/widget_command.h"

#include "services/box_address.h"
#include "services/widget_files.h"
#include "services/widget_model_chooser.h"
#include "services/widget_notice.h"

namespace quorvel {

namespace {

void WriteAddressFile(platform::Files& files, std::string_view rowAddress) {
  const std::optional<BoxAddress> address = BoxAddress::Checked(rowAddress);
  const std::string_view content = address ? std::string_view(address->text()) : std::string_view();
  // The outcome is let be: without the file the widget lacks the address, but the install goes on.
  static_cast<void>(files.WriteText(kWidgetAddressFile, content));
}

// The widget file of the model, or of the model that the user picks; nothing when the user picks none.
std::optional<std::string_view> ChooseWidgetFile(ui::DialogHost& mainWindow, ServerModel& chooser,
                                                 std::string_view modelName) {
  if (const auto file = WidgetFileForModel(modelName)) return file;
  mainWindow.RunModal(chooser);
  return WidgetFileForChooserAnswer(chooser.answer());
}

}  // namespace

void InstallDesktopWidget(ui::DialogHost& mainWindow, platform::Processes& processes, platform::Files& files,
                          const std::optional<std::string>& selectedRowAddress, std::string_view modelName) {
  yahoowidgetalert notice;
  ServerModel chooser;
  if (!selectedRowAddress) {
    mainWindow.MessageBox(kSelectServer, "Warning", ui::Icon::Warning);
    return;
  }
  // Each step that may wait (a file, the shell) runs as busy work.
  if (!mainWindow.RunBusy([&] { WriteAddressFile(files, *selectedRowAddress); })) return;

  mainWindow.RunModal(notice);
  if (notice.answer() == kEngineDownload) {
    // Whether the page opened is not examined; the user comes back after installing the engine.
    mainWindow.RunBusy([&] { return processes.StartCommandLine(kWidgetEngineDownloadCommand, platform::kShowHide); });
    return;
  }

  const std::optional<std::string_view> widgetFile = ChooseWidgetFile(mainWindow, chooser, modelName);
  if (!widgetFile) return;
  const auto opened = mainWindow.RunBusy([&] { return processes.ShellOpen(*widgetFile, platform::kShowShow); });
  if (opened && *opened <= platform::kShellOpenErrorMax) {
    mainWindow.MessageBox(kWidgetOpenFailed, "Warning", ui::Icon::Information);
  }
}

}  // namespace quorvel
