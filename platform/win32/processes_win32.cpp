#include "platform/win32/processes_win32.h"

#include <windows.h>

#include <string>

namespace quorvel::platform {

unsigned Win32Processes::StartCommandLine(std::string_view commandLine, int show) {
  const std::string line(commandLine);
  return WinExec(line.c_str(), static_cast<UINT>(show));
}

}  // namespace quorvel::platform
