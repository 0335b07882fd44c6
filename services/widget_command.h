// The Widget button of the main window: installs a desktop widget for the selected box. It leaves the
// box's address in the address file for the widget, tells the user that the widget engine is needed
// (offering its download page), picks the widget file of the box's model (asking the user when the
// model has none) and has the shell open that file, which hands it to the engine.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "framework/dialog.h"
#include "platform/files.h"
#include "platform/processes.h"

namespace quorvel {

// Where the widget finds the box's address: the address alone, no line end.
inline constexpr std::string_view kWidgetAddressFile = "C:\\ip.txt";

// Download in the engine notice: the shell opens the engine's download page. The address is a reserved
// documentation domain of ours, so the button never sends anyone to a site that this program does not
// vouch for.
inline constexpr std::string_view kWidgetEngineDownloadCommand = "explorer http://widgets.example.com/download/";

inline constexpr std::string_view kSelectServer = "Please select a server.";
inline constexpr std::string_view kWidgetOpenFailed = "Execute widget file error!";

// Runs the command, with the main window as the owner of its dialogs and messages. selectedRowAddress is
// the "IP" column of the device list's selected row (nothing when no row is selected); modelName is the
// model of the last selected box.
//
// The address goes into the address file only when it is a dotted IPv4 address; otherwise the file is
// emptied, so that a widget never reads text from a box that is no address, nor an earlier box's address.
// A file that cannot be written does not stop the command: the widget is still opened.
void InstallDesktopWidget(ui::DialogHost& mainWindow, platform::Processes& processes, platform::Files& files,
                          const std::optional<std::string>& selectedRowAddress, std::string_view modelName);

}  // namespace quorvel
