#include "framework/win32/win32_busy.h"

#include <objbase.h>

#include "framework/win32/busy_property.h"

namespace quorvel::ui {

namespace {

// The busy loop of this thread, while one runs: every dialog of the thread is held meanwhile.
thread_local Win32Busy* activeBusy = nullptr;
// Whether this worker's COM apartment was made, so that only then is it taken down.
thread_local bool workerApartment = false;

constexpr wchar_t kLogOffReason[] = L"Quorvel is finishing a request to the box";
constexpr int kEndSessionWaitMillis = 5000;

constexpr WORD kWaitCursor = 32514;  // the system's IDC_WAIT

HCURSOR WaitCursorHandle() { return ::LoadCursorA(nullptr, MAKEINTRESOURCEA(kWaitCursor)); }

bool IsKey(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }
bool IsMouse(UINT message) { return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST; }
bool IsNonClientMouse(UINT message) {
  return (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) || message == WM_NCMOUSEHOVER ||
         message == WM_NCMOUSELEAVE;
}

// What the system asks of the thread itself, which the work does not hold up: the screen saver, the
// monitor's power and a hot key go on.
bool SystemGoesOn(WPARAM command) {
  return command == SC_MINIMIZE || command == SC_RESTORE || command == SC_MOVE || command == SC_SCREENSAVE ||
         command == SC_MONITORPOWER || command == SC_HOTKEY;
}

}  // namespace

BusyStatus Win32Busy::Run(const std::function<void(const BusyStop&)>& work) {
  if (InBusyWork()) return BusyStatus::Refused;
  if (closing_) return BusyStatus::Closing;
  BusyRun run;
  run_ = &run;
  activeBusy = this;
  pressed_ = nullptr;
  cursorBefore_ = ::SetCursor(WaitCursorHandle());
  ::SetPropA(dialog_, kBusyWindowProperty, reinterpret_cast<HANDLE>(1));
  // However the work ends (an exception too), the held input, timers and close are settled.
  struct Settle {
    Win32Busy& busy;
    ~Settle() { busy.Finish(); }
  } settle{*this};
  return RunBusyWork(work, *this, run);
}

void Win32Busy::Finish() {
  DropPendingInput();  // a click that came just before the end is not acted on after it
  run_ = nullptr;
  activeBusy = nullptr;
  ::RemovePropA(dialog_, kBusyWindowProperty);
  ::SetCursor(cursorBefore_);
  if (blockingLogOff_) ::ShutdownBlockReasonDestroy(dialog_);
  blockingLogOff_ = false;
  for (const HeldMessage& held : held_.Release()) {
    ::PostMessageA(reinterpret_cast<HWND>(held.window), held.message, held.wParam, held.lParam);
  }
  if (recordedClose_) {
    ::PostMessageA(dialog_, kCloseDue, 0, 0);
    ::PostMessageA(recordedClose_->hwnd, recordedClose_->message, recordedClose_->wParam, recordedClose_->lParam);
    recordedClose_.reset();
  }
  if (quit_) ::PostQuitMessage(static_cast<int>(*quit_));
  quit_.reset();
}

// The shell's calls on the worker (opening a file, a connection that may ask for credentials) need a
// single-threaded apartment, with no DDE that could outlive the thread.
void Win32Busy::WorkerStarted() {
  workerApartment = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

void Win32Busy::WorkerEnded() {
  if (workerApartment) ::CoUninitialize();
  workerApartment = false;
}

void Win32Busy::Pump(BusyRun& run) {
  ::MsgWaitForMultipleObjectsEx(0, nullptr, 50, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  MSG msg;
  while (!run.finished() && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (Take(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

void Win32Busy::DropPendingInput() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) Take(msg);
  while (::PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) Take(msg);
  while (::PeekMessageA(&msg, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE)) Take(msg);
}

bool Win32Busy::Take(const MSG& msg) {
  if (msg.hwnd == nullptr && msg.message == WM_NULL) return true;  // the worker's wake-up
  if (msg.message == WM_QUIT) {
    quit_ = msg.wParam;
    return true;
  }
  if (msg.message == WM_TIMER || msg.message == kPosted) {
    Hold(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    return true;
  }
  if (IsKey(msg.message)) return TakeKey(msg);
  if (IsMouse(msg.message)) return TakeMouse(msg);
  if (IsNonClientMouse(msg.message)) return TakeNonClientMouse(msg);
  return false;
}

// Every key is dropped; Escape, Alt+F4 and an Enter that would close this dialog are recorded as its close.
bool Win32Busy::TakeKey(const MSG& msg) {
  if (!OwnWindow(msg.hwnd)) return true;
  switch (ClassifyBusyKey(msg.message, msg.wParam, msg.lParam)) {
    case BusyKey::Escape:
      RecordClose(dialog_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      break;
    case BusyKey::Enter:
      if (const std::optional<int> command = ClosingEnter(msg)) {
        RecordClose(dialog_, WM_COMMAND, MAKEWPARAM(*command, BN_CLICKED), 0);
      }
      break;
    case BusyKey::AltF4:
      RecordClose(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case BusyKey::Other:
      break;
  }
  return true;
}

// The command by which Enter on the focused control would close the dialog when idle, if it would. A
// push button that takes Enter itself (the painted ones do, as the dialog manager's default one) is
// clicked: that closes for the buttons that close. Anywhere else Enter is the dialog's OK, which a field
// that keeps Enter, or a list with a selected row to pick, takes instead of closing.
std::optional<int> Win32Busy::ClosingEnter(const MSG& msg) const {
  const HWND control = DialogChild(msg.hwnd);
  const int id = ::GetDlgCtrlID(control);
  const std::optional<BusyRole> role = RoleOf(msg.hwnd);
  const LRESULT code = ::SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
  if ((code & DLGC_BUTTON) != 0 && (code & (DLGC_WANTMESSAGE | DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0) {
    if (role == BusyRole::Close || id == IDOK || id == IDCANCEL) return id;
    return std::nullopt;
  }
  if (role == BusyRole::KeepsEnter) return std::nullopt;
  if (role == BusyRole::PicksRow && ::SendMessageA(control, LVM_GETSELECTEDCOUNT, 0, 0) > 0) return std::nullopt;
  return IDOK;
}

// The dialog's own surface is the drag area (a press there starts a move); a control gets nothing, but
// a press and a release on the same Close disc or Exit record the close, and on the Minimise disc
// minimise, as a click there would when idle. Other windows of the thread (another dialog, a drop-down
// list, an input method's window) get nothing.
bool Win32Busy::TakeMouse(const MSG& msg) {
  if (msg.hwnd == dialog_) {
    if (msg.message == WM_LBUTTONDOWN) pressed_ = nullptr;
    return !(msg.message == WM_LBUTTONDOWN || msg.message == WM_MOUSEMOVE);
  }
  if (!OwnWindow(msg.hwnd)) return true;
  const std::optional<BusyRole> role = RoleOf(msg.hwnd);
  const bool acts = role == BusyRole::Minimize || role == BusyRole::Close;
  if (msg.message == WM_LBUTTONDOWN) pressed_ = acts ? DialogChild(msg.hwnd) : nullptr;
  if (msg.message != WM_LBUTTONUP) return true;
  const bool sameControl = acts && pressed_ != nullptr && pressed_ == DialogChild(msg.hwnd);
  pressed_ = nullptr;
  if (!sameControl) return true;
  if (role == BusyRole::Minimize) {
    ::ShowWindow(dialog_, SW_MINIMIZE);
  } else {
    RecordClose(dialog_, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(msg.hwnd), BN_CLICKED),
                reinterpret_cast<LPARAM>(msg.hwnd));
  }
  return true;
}

// The caption (which the painted look reports for its drag area) moves the window; the frame's Minimise
// box works; its Close box is recorded; anything else is dropped.
bool Win32Busy::TakeNonClientMouse(const MSG& msg) {
  if (msg.message == WM_NCMOUSEMOVE || msg.message == WM_NCMOUSELEAVE || msg.message == WM_NCMOUSEHOVER) return false;
  if (msg.message == WM_NCLBUTTONDOWN && (msg.wParam == HTCAPTION || msg.wParam == HTMINBUTTON)) return false;
  if (msg.message == WM_NCLBUTTONUP && msg.wParam == HTMINBUTTON) return false;
  if (msg.message == WM_NCLBUTTONDOWN && msg.wParam == HTCLOSE && OwnWindow(msg.hwnd)) {
    RecordClose(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
  }
  return true;
}

bool Win32Busy::Filter(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  result = TRUE;
  if (message == kCloseDue) {
    closing_ = false;
    return true;
  }
  if (!busy()) return FilterOther(dialog_, message, wParam, lParam, result);
  switch (message) {
    case WM_SETCURSOR:
      ::SetCursor(WaitCursorHandle());
      ::SetWindowLongPtrA(dialog_, DWLP_MSGRESULT, TRUE);
      return true;
    case WM_SYSCOMMAND: {
      const WPARAM command = wParam & 0xFFF0;
      if (command == SC_CLOSE) RecordClose(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
      // Minimise, restore, move and the system's own go on; the rest (the window menu, say) waits for
      // nothing: dropped.
      return !SystemGoesOn(command);
    }
    case WM_CLOSE:
      RecordClose(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
      return true;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const auto role = roles_.find(id);
      const bool closes = id == IDOK || id == IDCANCEL || (role != roles_.end() && role->second == BusyRole::Close);
      if (HIWORD(wParam) == BN_CLICKED && closes) RecordClose(dialog_, WM_COMMAND, wParam, 0);
      return true;  // no command handler runs while busy work does
    }
    case WM_TIMER:
    case kPosted:
      Hold(dialog_, message, wParam, lParam);
      return true;
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
      return EndSession(dialog_, message, wParam, result);
    default:
      return false;
  }
}

bool Win32Busy::FilterOther(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  Win32Busy* const busy = activeBusy;
  if (busy == nullptr || busy->dialog_ == dialog) return false;
  switch (message) {
    case WM_COMMAND:
      result = TRUE;
      return true;
    case WM_NOTIFY:
      ::SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
      result = FALSE;
      return true;
    case WM_TIMER:
    case kPosted:
      busy->Hold(dialog, message, wParam, lParam);
      result = TRUE;
      return true;
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
      return busy->EndSession(dialog, message, wParam, result);
    default:
      return false;
  }
}

void Win32Busy::Hold(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  held_.Hold(HeldMessage{reinterpret_cast<std::uintptr_t>(window), message, wParam, lParam, message == WM_TIMER});
}

// A log-off or shut-down while the work runs would end the process in the middle of a write: the session
// is asked to wait (with the reason shown), a close is recorded, and when the session ends anyway, the
// work is told to stop and given a few seconds to get there.
bool Win32Busy::EndSession(HWND window, UINT message, WPARAM wParam, INT_PTR& result) {
  if (message == WM_QUERYENDSESSION) {
    if (!blockingLogOff_) blockingLogOff_ = ::ShutdownBlockReasonCreate(dialog_, kLogOffReason) != FALSE;
    RecordClose(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
    ::SetWindowLongPtrA(window, DWLP_MSGRESULT, FALSE);
    result = TRUE;
    return true;
  }
  if (wParam != FALSE && run_ != nullptr) {
    run_->RecordClose();
    run_->WaitFinished(kEndSessionWaitMillis);
  }
  result = FALSE;
  return false;
}

void Win32Busy::RecordClose(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (userCannotClose_) return;  // dropped, as the idle dialog would ignore it
  if (run_ != nullptr) run_->RecordClose();
  closing_ = true;
  if (recordedClose_) return;  // the first close is the one acted on
  MSG msg{};
  msg.hwnd = window;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  recordedClose_ = msg;
}

bool Win32Busy::OwnWindow(HWND window) const { return window == dialog_ || ::IsChild(dialog_, window); }

HWND Win32Busy::DialogChild(HWND window) const {
  while (window != nullptr && ::GetParent(window) != dialog_) window = ::GetParent(window);
  return window;
}

std::optional<BusyRole> Win32Busy::RoleOf(HWND window) const {
  const HWND control = DialogChild(window);
  if (control == nullptr) return std::nullopt;
  const auto found = roles_.find(::GetDlgCtrlID(control));
  if (found == roles_.end()) return std::nullopt;
  return found->second;
}

}  // namespace quorvel::ui
