// The process seam over the real system: WinExec.
#pragma once

#include "platform/processes.h"

namespace quorvel::platform {

class Win32Processes final : public Processes {
 public:
  unsigned StartCommandLine(std::string_view commandLine, int show) override;
};

}  // namespace quorvel::platform
