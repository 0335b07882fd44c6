// The process seam over the real system: WinExec and ShellExecute.
#pragma once

#include "platform/processes.h"

namespace quorvel::platform {

class Win32Processes final : public Processes {
 public:
  unsigned StartCommandLine(std::string_view commandLine, int show) override;
  unsigned ShellOpen(std::string_view file, int show) override;
};

}  // namespace quorvel::platform
