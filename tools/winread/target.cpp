#include "target.h"

#include <cstdio>

namespace quorvel::winread {

namespace {

DWORD ProcessOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

}  // namespace

Target::Target(HWND top, UINT timeoutMs) : top_(top), pid_(ProcessOf(top)), timeoutMs_(timeoutMs), process_(pid_) {
  if (!process_.ok()) Fail("cannot open process " + std::to_string(pid_));
}

LRESULT Target::Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (failed()) return 0;
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_NORMAL, timeoutMs_, &result)) {
    char what[96];
    std::snprintf(what, sizeof what, "message 0x%04x to window %llu: no answer (error %lu)", msg,
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)), GetLastError());
    Fail(what);
    return 0;
  }
  return static_cast<LRESULT>(result);
}

LRESULT Target::SendRemote(HWND hwnd, UINT msg, WPARAM wParam, const RemoteBuffer& buf, std::size_t offset) {
  return Send(hwnd, msg, wParam, reinterpret_cast<LPARAM>(buf.at(offset)));
}

void Target::Fail(const std::string& what) {
  if (error_.empty()) error_ = what;
}

}  // namespace quorvel::winread
