// Busy work over real windows: the worker runs the work while this loop keeps the user-interface thread's
// windows painting and moving. Input for them is dropped before any control sees it, except the drag
// area, the Minimise disc and the task bar's minimise and restore; a close (the Close disc, Exit, Escape,
// an Enter that would close the window, Alt+F4, the task bar's Close) is recorded and posted again when
// the work has ended; timers are held back until then; the cursor is the wait cursor. While one dialog of
// the thread runs busy work, every dialog of the thread is held: commands and notifications are dropped,
// posted messages and timers wait, in their order, for the end of the work. A log-off meanwhile is refused
// until the work has ended. The worker gets a single-threaded COM apartment for the shell's calls.
#pragma once

#include "framework/win32/win32_api.h"

#include <functional>
#include <map>
#include <optional>
#include <utility>

#include "framework/busy_input.h"
#include "framework/busy_work.h"
#include "framework/controls.h"

namespace quorvel::ui {

class Win32Busy final : public BusyLoop {
 public:
  explicit Win32Busy(HWND dialog) : dialog_(dialog), thread_(::GetCurrentThreadId()) {}
  Win32Busy(const Win32Busy&) = delete;
  Win32Busy& operator=(const Win32Busy&) = delete;

  // Posted to the dialog right before a recorded close is posted again: from then on it is acted on.
  static constexpr UINT kCloseDue = WM_APP + 0x3F0;
  // The message of DialogHost::Post; its wParam is the id for Dialog::OnPosted. Held while busy.
  static constexpr UINT kPosted = WM_APP + 0x3F1;

  void SetRole(int controlId, BusyRole role) { roles_[controlId] = role; }
  void SetUserCannotClose() { userCannotClose_ = true; }  // no close is recorded (DialogHost)
  BusyStatus Run(const std::function<void(const BusyStop&)>& work);
  bool busy() const { return run_ != nullptr; }
  bool closing() const { return closing_; }
  // For the dialog procedure, before anything else sees the message: the messages that reach it while
  // busy work runs without passing the loop (sent ones: the task bar's Close, a control's notification).
  // True when taken; `result` is then the procedure's answer.
  bool Filter(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
  // The same for a dialog of this thread that is not the busy one, while another one is: its commands
  // and notifications are dropped, its posted messages and timers held.
  static bool FilterOther(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

  void Pump(BusyRun& run) override;
  void Wake() override { ::PostThreadMessageA(thread_, WM_NULL, 0, 0); }
  void WorkerStarted() override;
  void WorkerEnded() override;

 private:
  bool Take(const MSG& msg);  // true: not dispatched (dropped, recorded or held)
  bool TakeKey(const MSG& msg);
  bool TakeMouse(const MSG& msg);
  bool TakeNonClientMouse(const MSG& msg);
  void Hold(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool EndSession(HWND window, UINT message, WPARAM wParam, INT_PTR& result);
  void RecordClose(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool OwnWindow(HWND window) const;  // the dialog or one of its controls
  HWND DialogChild(HWND window) const;  // the dialog's control that holds window, or null
  std::optional<BusyRole> RoleOf(HWND window) const;
  std::optional<int> ClosingEnter(const MSG& msg) const;
  void DropPendingInput();
  void Finish();

  HWND dialog_;
  DWORD thread_;
  std::map<int, BusyRole> roles_;
  bool userCannotClose_ = false;
  BusyRun* run_ = nullptr;
  bool closing_ = false;
  std::optional<MSG> recordedClose_;
  HeldMessages held_;  // posted messages and timers of the thread's windows, posted again at the end
  HWND pressed_ = nullptr;  // the control with a busy role that the left button went down on
  bool blockingLogOff_ = false;
  std::optional<WPARAM> quit_;  // a WM_QUIT met meanwhile, posted again at the end
  HCURSOR cursorBefore_ = nullptr;
};

}  // namespace quorvel::ui
