// A modal dialog: the console's dialogs derive from it and handle their commands; the backend
// (DialogHost) gives them their controls by id and the window's own operations.
#pragma once

#include <cassert>
#include <functional>
#include <optional>
#include <string_view>
#include <type_traits>
#include <utility>

#include "busy_work.h"
#include "controls.h"

namespace quorvel::ui {

class Dialog;

// <windows.h> defines SetWindowText and MessageBox as macros (to their ...A or ...W functions); the
// methods keep their own names here whatever was included before. The Windows backend's files include
// framework/win32/win32_api.h, which drops those macros, so that they can call these methods by name.
#pragma push_macro("SetWindowText")
#pragma push_macro("MessageBox")
#undef SetWindowText
#undef MessageBox

// The backend's side of one open dialog. It owns the control objects it hands out.
class DialogHost {
 public:
  virtual ~DialogHost() = default;
  virtual Control& Item(int id) = 0;
  virtual ListView& List(int id) = 0;
  virtual ComboBox& Combo(int id) = 0;
  virtual IpAddressEdit& Address(int id) = 0;
  virtual ProgressBar& Progress(int id) = 0;

  virtual void SetWindowText(std::string_view text) = 0;
  virtual void SetIcon(int iconResource) = 0;
  virtual void EndDialog(int result) = 0;
  virtual void DestroyWindow() = 0;
  virtual void Minimize() = 0;  // to the task bar
  virtual int MessageBox(std::string_view text, std::string_view caption, Icon icon) = 0;
  // A message box with Yes and No, No the default button; true when the user answers Yes.
  virtual bool AskYesNo(std::string_view text, std::string_view caption, Icon icon) = 0;
  // Runs another dialog modally, owned by this one; returns its result.
  virtual int RunModal(Dialog& child) = 0;
  virtual bool SetTimer(int id, int millis) = 0;
  virtual void KillTimer(int id) = 0;
  virtual int TextCharset() = 0;  // character set of the window's device context
  // The control that has the keyboard focus, or holds it in one of its parts (an address editor's
  // field); 0 when no control of this window has it.
  virtual int FocusedId() = 0;
  // The system's wait cursor while the window's thread is busy; nested calls count, and the last End
  // brings the previous cursor back. Use WaitCursor rather than these.
  virtual void BeginWaitCursor() = 0;
  virtual void EndWaitCursor() = 0;

  // Runs work that waits, on a worker thread, while this thread keeps the windows answering (they
  // repaint and move; input is dropped; a close is recorded for later) and returns its value when it
  // ends; an exception of the work is thrown again here. The work may take a `const BusyStop&`, which
  // tells it that a close was recorded, so that a pause or a poll stops early. It may touch the protocol
  // object and the platform seams, never a window, a control or a message box.
  //   const auto ok = host().RunBusy([&] { return protocol.CheckPassword(); });
  //   if (!ok) return;          // a close was recorded (or nothing ran): skip the remaining steps
  //   if (*ok) ...
  // Busy work inside busy work is a programming error: it asserts, and otherwise returns Refused having
  // run nothing. After a close was recorded, further busy work of the handler returns Closing having run
  // nothing; the close is acted on when the handler returns.
  template <class Work>
  auto RunBusy(Work&& work);
  // A close (the Close disc, Exit, Escape, Enter, Alt+F4, the task bar's Close) was recorded while busy
  // work ran, and is waiting for the handler to return.
  virtual bool Closing() const = 0;
  // What this control does while busy work runs: BusyRole::Close records a click as a close (the Close
  // disc, Exit); BusyRole::Minimize minimises the window on a click (the Minimise disc); other clicks are
  // dropped. Enter is recorded as a close only where it would close the window when idle: not on a
  // focused push button other than a Close one, nor in a KeepsEnter field, nor on a PicksRow list with a
  // selected row; there it is dropped.
  virtual void SetBusyRole(int controlId, BusyRole role) = 0;
  // For a dialog that the user cannot close (its OK, Cancel and close request do nothing): while its busy
  // work runs, no close is recorded either, so the work's result is never thrown away. Call it from
  // OnInitDialog.
  virtual void SetUserCannotClose() = 0;
  // Queues a message for this dialog: OnPosted(id) runs once the messages queued before it are handled
  // (for a dialog being opened: once it is on screen).
  virtual void Post(int id) = 0;

 protected:
  // The backend's run of one piece of busy work.
  virtual BusyStatus RunWork(const std::function<void(const BusyStop&)>& work) = 0;
};

template <class Work>
auto DialogHost::RunBusy(Work&& work) {
  using Value = std::decay_t<decltype(CallWork(work, std::declval<const BusyStop&>()))>;
  if constexpr (std::is_void_v<Value>) {
    const BusyStatus status = RunWork([&](const BusyStop& stop) { CallWork(work, stop); });
    assert(status != BusyStatus::Refused && "busy work inside busy work");
    return BusyResult<void>(status, Closing());
  } else {
    std::optional<Value> value;  // written by the worker, read after it was joined
    const BusyStatus status = RunWork([&](const BusyStop& stop) { value.emplace(CallWork(work, stop)); });
    assert(status != BusyStatus::Refused && "busy work inside busy work");
    return BusyResult<Value>(status, std::move(value), Closing());
  }
}

#pragma pop_macro("MessageBox")
#pragma pop_macro("SetWindowText")

// As above: LVN_KEYDOWN is the framework's within the class, whatever <commctrl.h> defined.
#pragma push_macro("LVN_KEYDOWN")
#undef LVN_KEYDOWN

class Dialog {
 public:
  explicit Dialog(int templateId) : templateId_(templateId) {}
  virtual ~Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  int templateId() const { return templateId_; }
  bool isOpen() const { return host_ != nullptr; }

  // Handlers, called by the backend on the user-interface thread.
  virtual bool OnInitDialog() { return true; }
  virtual void OnCommand(int /*id*/, int /*code*/) {}
  virtual void OnNotify(int /*id*/, int /*code*/) {}
  // A click notification of a list view, with the row it hit (-1: no row). Unless a dialog wants the
  // row, it is handled as a plain notification.
  virtual void OnListClick(int id, int code, int /*item*/) { OnNotify(id, code); }
  // A key pressed in a list view (a virtual key code, such as kKeySpace). Unless a dialog wants the key,
  // it is handled as a plain LVN_KEYDOWN notification.
  virtual void OnListKeyDown(int id, int /*key*/) { OnNotify(id, LVN_KEYDOWN); }
  virtual void OnTimer(int /*id*/) {}
  virtual void OnPosted(int /*id*/) {}  // see DialogHost::Post
  virtual void OnOK() { host().EndDialog(IDOK); }
  virtual void OnCancel() { host().EndDialog(IDCANCEL); }
  virtual void OnDestroy() {}

  // The backend attaches itself while the dialog is open, and detaches when it is destroyed.
  void Attach(DialogHost* host) { host_ = host; }
  DialogHost& host() { return *host_; }

 private:
  int templateId_;
  DialogHost* host_ = nullptr;
};

#pragma pop_macro("LVN_KEYDOWN")

// Runs top-level dialogs modally (the application's main window).
class Ui {
 public:
  virtual ~Ui() = default;
  virtual int RunModal(Dialog& dialog) = 0;
};

}  // namespace quorvel::ui
