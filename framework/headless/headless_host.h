// One open dialog of the headless backend. The dialog's handlers see the DialogHost side; a test drives the
// dialog with the user's actions (Click, SelectComboItem, PressEscape, ...) and reads the recorded state.
//
// As with real windows, EndDialog and DestroyWindow take effect when the handler that called them returns:
// then OnDestroy runs, once, and the dialog is detached. The host itself stays, with its controls' last
// state, for the test to look at, until the HeadlessUi goes.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/dialog.h"
#include "framework/headless/headless_combo_box.h"
#include "framework/headless/headless_control.h"
#include "framework/headless/headless_ip_address.h"
#include "framework/headless/headless_list_view.h"
#include "framework/headless/headless_progress_bar.h"

namespace quorvel::ui {

class HeadlessUi;

class HeadlessHost : public DialogHost {
 public:
  // parentTemplateId: the template of the dialog that runs this one, 0 for a top-level dialog.
  HeadlessHost(HeadlessUi& ui, int templateId, int parentTemplateId);
  HeadlessHost(const HeadlessHost&) = delete;
  HeadlessHost& operator=(const HeadlessHost&) = delete;

  // DialogHost. A control is made on first use, enabled and visible, of the kind asked for.
  Control& Item(int id) override;
  HeadlessListView& List(int id) override;
  HeadlessComboBox& Combo(int id) override;
  HeadlessIpAddress& Address(int id) override;
  HeadlessProgressBar& Progress(int id) override;
  void SetWindowText(std::string_view text) override { CheckNotBusy("window text"), windowText_ = text; }
  void SetIcon(int iconResource) override { CheckNotBusy("icon"), icon_ = iconResource; }
  void EndDialog(int result) override;
  void DestroyWindow() override;  // ends the dialog with IDCANCEL
  void Minimize() override { CheckNotBusy("minimize"), ++minimized_; }
  int MessageBox(std::string_view text, std::string_view caption, Icon icon) override;
  bool AskYesNo(std::string_view text, std::string_view caption, Icon icon) override;
  int RunModal(Dialog& child) override;
  bool SetTimer(int id, int millis) override;
  void KillTimer(int id) override { CheckNotBusy("timer"), timers_.erase(id); }
  int TextCharset() override { return 0; }  // ANSI
  int FocusedId() override { return CheckNotBusy("focus"), focus_.controlId; }
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  bool Closing() const override { return closeRecorded_; }
  void SetBusyRole(int controlId, BusyRole role) override { busyRoles_[controlId] = role; }
  void SetUserCannotClose() override { userCannotClose_ = true; }
  void Post(int id) override;

  // The user's actions. Acting on a dialog that has ended, or on a control that is disabled or hidden, is
  // recorded as an error and does nothing. While busy work runs (a fake that the work calls may act as
  // the user), a close (Close, Escape, a closing Enter, a button of BusyRole::Close) is recorded and acted on once
  // the outermost handler returns; every other action is dropped and counted. That holds for every dialog of
  // the HeadlessUi while one of them runs busy work; on the others a close is dropped too, and a timer
  // that fires, like a posted message, waits for the end of the work.
  void Click(int id);                         // a button: IDOK and IDCANCEL go to OnOK and OnCancel
  void SelectComboItem(int id, int index);    // the selection changes, then CBN_SELCHANGE
  void ClickListRow(int id, int row);         // that row alone selected, then NM_CLICK; row -1: empty space
  void KeyListRow(int id, int row);           // the arrow keys: that row alone selected, then LVN_KEYDOWN
                                              // and LVN_ITEMCHANGED; no click
  // Keys characters into an edit after its text; it takes the focus, and refuses every character once its
  // text holds as many as its limit allows. Returns how many it took.
  int Type(int id, std::string_view characters);
  void PressEscape();
  // Enter as the dialog manager routes it: a focused push button is pressed (its click), anything else
  // gets the dialog's OK. While busy work runs it is recorded as a close only where it would close the
  // window (see DialogHost::SetBusyRole), and dropped elsewhere.
  void PressEnter();
  void PressSpaceOnList(int id);              // the list takes the focus, then its key notification
  void Close();                               // the window's close request
  void FireTimer(int id);                     // only a timer that is set; held during busy work
  // Posted messages are delivered once the handler that posted them returns, unless the test holds
  // them (HoldPosted); then they wait for this.
  void DeliverHeldPosts();
  void HoldPosted(bool hold) { holdPosted_ = hold; }
  std::size_t postedWaiting() const { return posted_.size(); }

  // The template's push buttons (their kind is the template's, not the dialog's): see PressEnter.
  void DefinePushButton(int id) { SlotFor(id).state.pushButton = true; }

  // Attaches the dialog and runs OnInitDialog; the HeadlessUi calls it once, after the template's set-up.
  void Start(Dialog& dialog);
  // Reads every control, as a real window's painting does while busy work runs (threaded mode).
  void Paint();

  // What the test reads.
  int templateId() const { return templateId_; }
  int parentTemplateId() const { return parentTemplateId_; }
  bool isOpen() const { return dialog_ != nullptr; }
  bool ended() const { return ended_; }
  int result() const { return result_; }
  bool destroyedDirectly() const { return destroyedDirectly_; }  // by DestroyWindow rather than EndDialog
  int minimized() const { return minimized_; }  // how often Minimize was called
  const std::string& windowText() const { return windowText_; }
  int icon() const { return icon_; }
  const std::map<int, int>& timers() const { return timers_; }  // id -> period in milliseconds
  int focusedId() const { return focus_.controlId; }
  int waitCursorDepth() const { return waitDepth_; }  // 0 once every wait has ended
  int waitCursorsShown() const { return waitsShown_; }  // how often the wait cursor came (outermost waits)
  int busyRuns() const { return busyRuns_; }  // how often busy work ran
  int droppedInput() const { return droppedInput_; }  // user actions dropped while busy work ran
  // Called after each piece of the work's progress was applied, with the controls readable as a paint
  // would read them: what the window shows during the work.
  void WatchProgress(std::function<void()> watch) { progressWatch_ = std::move(watch); }

 protected:
  BusyStatus RunWork(const std::function<void(const BusyStop&)>& work) override;

 private:
  // The controls under one id: the shared state, the plain view of it and the view of its kind.
  struct Slot {
    HeadlessControlState state;
    std::unique_ptr<HeadlessItem> plain;
    std::unique_ptr<Control> kind;
  };

  template <class Kind>
  Kind& Get(int id, const char* kindName);
  Slot& SlotFor(int id);
  // Counts the handlers running on this dialog, so that the end waits for the outermost to return.
  class InHandler {
   public:
    explicit InHandler(int& depth) : depth_(depth) { ++depth_; }
    ~InHandler() { --depth_; }
    InHandler(const InHandler&) = delete;
    InHandler& operator=(const InHandler&) = delete;

   private:
    int& depth_;
  };

  // The work runs in line: its progress is applied at once, as the user-interface side would apply it.
  class InlineProgress final : public BusyProgress {
   public:
    explicit InlineProgress(HeadlessHost& host) : host_(host) {}
    void Post(std::function<void()> apply) override;

   private:
    HeadlessHost& host_;
  };

  // The work runs on a worker: its progress is applied on the user-interface thread between the loop's rounds.
  class ThreadedProgress final : public BusyProgress {
   public:
    ThreadedProgress(HeadlessHost& host, BusyRun& run) : host_(host), run_(run) {}
    void Post(std::function<void()> apply) override;

   private:
    HeadlessHost& host_;
    BusyRun& run_;
  };

  void ApplyProgress(const std::function<void()>& apply);
  bool CanAct(std::string_view action);
  bool EnterCloses() const;
  // While busy work runs: records the action when it closes, drops it otherwise; true when it was taken.
  bool TakenByBusyWork(bool closes, std::function<void()> close);
  void CheckNotBusy(std::string_view what);
  void DeliverRecordedClose();
  void DeliverPosted();
  bool CanUse(int id, std::string_view action);
  template <class Handler>
  void Dispatch(Handler&& handler);
  void Press(int id);  // a button's click: IDOK and IDCANCEL go to OnOK and OnCancel
  void FinishIfEnded();
  void Error(std::string_view what);

  HeadlessUi& ui_;
  Dialog* dialog_ = nullptr;  // from Start until the dialog is destroyed
  int templateId_;
  int parentTemplateId_;
  int handlerDepth_ = 0;
  bool endRequested_ = false;
  bool ended_ = false;
  bool destroyedDirectly_ = false;
  int minimized_ = 0;
  int result_ = 0;
  std::string windowText_;
  int icon_ = 0;
  std::map<int, int> timers_;
  HeadlessFocus focus_;
  int waitDepth_ = 0;
  int waitsShown_ = 0;
  int busyRuns_ = 0;
  int droppedInput_ = 0;
  std::size_t painted_ = 0;  // what Paint read, kept so that the reads stay
  std::atomic<bool> busyStop_{false};  // read by the work through its BusyStop
  InlineProgress inlineProgress_{*this};
  bool applyingProgress_ = false;  // the work's progress is being applied: not the work's own use
  std::function<void()> progressWatch_;
  bool closeRecorded_ = false;
  std::function<void()> recordedClose_;
  std::map<int, BusyRole> busyRoles_;
  bool userCannotClose_ = false;  // a close while busy is dropped like any other action
  // Posted messages (OnPosted ids) and timers held during busy work, in their order.
  struct Queued {
    bool timer = false;
    int id = 0;
  };
  std::deque<Queued> posted_;
  bool holdPosted_ = false;  // delivered once the outermost handler returns
  std::map<int, Slot> slots_;                    // map nodes stay put: controls keep their state's address
  std::vector<std::unique_ptr<Control>> strays_;  // asked for under an id that has another kind
};

}  // namespace quorvel::ui
