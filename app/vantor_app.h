// The application object: starts the device protocol, runs the main window modally, ends.
#pragma once

#include "framework/dialog.h"
#include "platform/platform.h"
#include "protocol/device_protocol.h"

namespace quorvel {

class CVantorApp {
 public:
  CVantorApp(ui::Ui& ui, DeviceProtocol& protocol, platform::Platform& platform)
      : ui_(ui), protocol_(protocol), platform_(platform) {}

  // Runs the program's one window. Always false: there is no message loop after the window.
  bool InitInstance();
  // The process's exit code: 1 when the socket library could not be started, else 0.
  int exitCode() const { return exitCode_; }

 private:
  ui::Ui& ui_;
  DeviceProtocol& protocol_;
  platform::Platform& platform_;
  int exitCode_ = 0;
};

}  // namespace quorvel
