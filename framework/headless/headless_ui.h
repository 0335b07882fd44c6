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

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
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

class HeadlessUi : public Ui {
 public:
  using Script = std::function<void(HeadlessHost&)>;

  HeadlessUi() = default;
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

  // The hosts' side.
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
};

}  // namespace quorvel::ui
