// The inspected window's process, as the control readers reach it: messages sent with a time-out (a
// window whose thread is busy, say in a search, answers late; a hung one must not hang the inspector)
// and the process handle for remote buffers. The first failure is kept and ends the inspection.
// Messages go out as Unicode: for the text messages that the system copies across processes
// (WM_GETTEXT, CB_GETLBTEXT) Wine hands back UTF-16 even to an ANSI sender of CB_GETLBTEXT, and
// UTF-16 needs no code page; messages that carry no text are the same either way.
#pragma once

#include <windows.h>

#include <string>

#include "remote_memory.h"

namespace quorvel::winread {

class Target {
 public:
  Target(HWND top, UINT timeoutMs);

  HWND top() const { return top_; }
  HANDLE process() const { return process_.get(); }

  // Sends msg; on a time-out or a dead window records the failure and returns 0.
  LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  // Sends a message whose lParam points into buf (remote memory), by its address in the target.
  LRESULT SendRemote(HWND hwnd, UINT msg, WPARAM wParam, const RemoteBuffer& buf, std::size_t offset = 0);

  void Fail(const std::string& what);
  bool failed() const { return !error_.empty(); }
  const std::string& error() const { return error_; }

 private:
  HWND top_;
  DWORD pid_ = 0;
  UINT timeoutMs_;
  ProcessHandle process_;
  std::string error_;
};

}  // namespace quorvel::winread
