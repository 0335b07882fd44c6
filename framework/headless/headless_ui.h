// The headless backend's application side: opens dialogs for a test to drive, answers modal dialogs from
// scripts the test sets up, and records message boxes, modal runs and misuse.
//
//   HeadlessUi ui;
//   ui.OnModal(kLoginDialog, [](HeadlessHost& h) { h.Item(kUser).SetText("admin"); h.Click(IDOK); });
//   MainDialog main(...);
//   HeadlessHost& host = ui.Open(main);   // OnInitDialog has run
//   host.Click(kSettingsButton);          // runs the login dialog through its script
//   EXPECT_TRUE(ui.errors().empty());
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "framework/dialog.h"
#include "framework/headless/headless_host.h"

namespace quorvel::ui {

struct MessageBoxRecord {
  std::string text;
  std::string caption;
  Icon icon = Icon::None;
  int ownerTemplateId = 0;
  bool yesNo = false;  // asked Yes/No rather than shown with OK
};

struct ModalRecord {
  int templateId = 0;
  int parentTemplateId = 0;  // 0: run by the Ui itself
  int result = 0;
};

// Busy work runs in line by default: the work runs on the test's thread inside RunBusy. In threaded mode
// (SetThreaded, or QUORVEL_HEADLESS_THREADED set in the environment) it runs on a real worker while the
// test's thread plays the user-interface thread: on each turn it delivers the user's acts of the fakes
// (ActAsUser), the acts scripted for the work (DuringWork), and paints (reads every control of every open
// dialog), as a real window would meanwhile.
class HeadlessUi : public Ui {
 public:
  using Script = std::function<void(HeadlessHost&)>;

  HeadlessUi();
  HeadlessUi(const HeadlessUi&) = delete;
  HeadlessUi& operator=(const HeadlessUi&) = delete;
  ~HeadlessUi() override;

  // Runs the dialog through the script for its template and returns its result. A run without a script,
  // or whose script leaves the dialog open, is an error and ends with IDCANCEL.
  int RunModal(Dialog& dialog) override;

  // Opens the dialog without running it: OnInitDialog has run when this returns, and the test drives it.
  // The messages it posted itself have been delivered too, unless holdPosted: then they wait for the
  // host's DeliverHeldPosts.
  HeadlessHost& Open(Dialog& dialog, bool holdPosted = false);

  // Scripts, run after OnInitDialog. One-shot scripts of a template run in the order they were given; the
  // repeating one answers every run of the template that finds no one-shot script left.
  void OnModal(int templateId, Script script);
  void OnEveryModal(int templateId, Script script);
  // What a template itself sets up before OnInitDialog (a control the template hides, say).
  void DefineTemplate(int templateId, Script setup);

  // Message boxes are answered IDOK unless answers have been queued; each answer is used once. A Yes/No
  // box with no answer queued is answered with its default button, No.
  void QueueMessageBoxAnswer(int answer) { answers_.push_back(answer); }

  const std::vector<MessageBoxRecord>& messageBoxes() const { return messageBoxes_; }
  const std::vector<ModalRecord>& modalRuns() const { return modalRuns_; }
  const std::vector<std::string>& errors() const { return errors_; }
  // The host of the latest dialog of that template that was opened or run (kept after it ended), or null.
  HeadlessHost* LastHost(int templateId);

  void SetThreaded(bool threaded) { threaded_ = threaded; }
  bool threaded() const { return threaded_; }
  // Acts for the user-interface thread during the next busy work, in order (in line: as the work begins;
  // threaded: on a turn of the loop while the work runs, and the work's end waits for them).
  void DuringWork(std::function<void()> act) { duringWork_.push_back(std::move(act)); }
  // A fake that the work calls acts as the user through this: the act runs on the user-interface thread
  // (the caller waits for it), as the user's input reaches the windows there and not in the work.
  void ActAsUser(const std::function<void()>& act);
  int paints() const { return paints_; }  // how often the open dialogs were painted during busy work

  // The hosts' side.
  // The dialog whose busy work runs, or null: while there is one, every dialog of this Ui is held.
  HeadlessHost* busyHost() const { return busyHost_; }
  void SetBusyHost(HeadlessHost* host) { busyHost_ = host; }
  bool OnUiThread() const { return std::this_thread::get_id() == uiThread_; }
  void RunDuringWorkInLine();
  // Threaded: the acts for this work are taken (on the user-interface thread), and the worker, its work
  // done, waits until they have run.
  void TakeDuringWork();
  void WaitDuringWorkDone();
  // One turn of the user-interface thread while the work runs, and the worker's wake-up at its end.
  void PumpTurn(BusyRun& run);
  void WakeFromWork();
  int RunModalFrom(Dialog& dialog, int parentTemplateId);
  int ShowMessageBox(int ownerTemplateId, std::string_view text, std::string_view caption, Icon icon);
  int ShowYesNo(int ownerTemplateId, std::string_view text, std::string_view caption, Icon icon);
  void RecordError(std::string what) { errors_.push_back(std::move(what)); }
  // Busy work touched a window, a control or a message box: recorded, and fatal (the message, then an
  // abort) unless a test that looks for it turned that off.
  void RecordBusyMisuse(std::string what);
  void SetBusyMisuseFatal(bool fatal) { busyMisuseFatal_ = fatal; }

 private:
  HeadlessHost& Create(Dialog& dialog, int parentTemplateId, bool holdPosted = false);
  Script TakeScript(int templateId);
  int Show(MessageBoxRecord record, int defaultAnswer);

  std::vector<std::unique_ptr<HeadlessHost>> hosts_;
  std::map<int, std::deque<Script>> oneShot_;
  std::map<int, Script> repeating_;
  std::map<int, Script> templates_;
  std::deque<int> answers_;
  std::vector<MessageBoxRecord> messageBoxes_;
  std::vector<ModalRecord> modalRuns_;
  std::vector<std::string> errors_;
  bool busyMisuseFatal_ = true;
  bool threaded_;
  std::thread::id uiThread_ = std::this_thread::get_id();
  HeadlessHost* busyHost_ = nullptr;
  std::deque<std::function<void()>> duringWork_;
  std::deque<std::function<void()>> actsOfThisWork_;  // the user-interface thread's only
  int paints_ = 0;
  // What passes from the worker to the user-interface thread: the user's acts, and the wake-up.
  std::mutex userMutex_;
  std::condition_variable userChanged_;
  std::deque<const std::function<void()>*> userActs_;
  int userActsDone_ = 0;
  int userActsQueued_ = 0;
  bool woken_ = false;
  bool actsPending_ = false;
};

}  // namespace quorvel::ui
