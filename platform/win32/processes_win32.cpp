#include "platform/win32/processes_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace quorvel::platform {

unsigned Win32Processes::StartCommandLine(std::string_view commandLine, int show) {
  const std::string line(commandLine);
  return WinExec(line.c_str(), static_cast<UINT>(show));
}

unsigned Win32Processes::ShellOpen(std::string_view file, int show) {
  const std::string path(file);
  // The result is a number in a handle's clothing: above 32 success, else the error.
  const HINSTANCE result = ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, show);
  return static_cast<unsigned>(reinterpret_cast<INT_PTR>(result));
}

}  // namespace quorvel::platform
