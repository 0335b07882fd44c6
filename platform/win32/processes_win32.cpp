#include "platform/win32/processes_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace quorvel::platform {

unsigned Win32Processes::StartCommandLine(std::string_view commandLine, int show) {
  const std::string line(commandLine);
  return WinExec(line.c_str(), static_cast<UINT>(show));
}

// Runs on busy work's worker, whose apartment is single-threaded: the shell is told to finish its work
// (a DDE conversation with the opening program, say) before the call returns, since the thread ends soon
// after.
unsigned Win32Processes::ShellOpen(std::string_view file, int show) {
  const std::string path(file);
  const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  if (length <= 0) return SE_ERR_FNF;
  std::wstring widePath(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath.data(), length);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;  // a failure is ours to report, as ShellExecuteA left it
  info.lpVerb = L"open";
  info.lpFile = widePath.c_str();
  info.nShow = show;
  const bool opened = ShellExecuteExW(&info) != FALSE;
  // The result is a number in a handle's clothing: above 32 success, else the error.
  const auto code = static_cast<unsigned>(reinterpret_cast<INT_PTR>(info.hInstApp));
  if (opened) return code > kShellOpenErrorMax ? code : kShellOpenErrorMax + 1;
  if (code > 0 && code <= kShellOpenErrorMax) return code;
  const DWORD error = GetLastError();
  if (error == ERROR_NO_ASSOCIATION) return SE_ERR_NOASSOC;
  return error <= kShellOpenErrorMax ? static_cast<unsigned>(error) : 0;  // 0: out of resources
}

}  // namespace quorvel::platform
