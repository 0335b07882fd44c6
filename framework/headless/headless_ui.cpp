#include "framework/headless/headless_ui.h"

#include <cstdio>
#include <chrono>
#include <cstdlib>
#include <utility>

namespace quorvel::ui {

HeadlessUi::HeadlessUi() : threaded_(std::getenv("QUORVEL_HEADLESS_THREADED") != nullptr) {}

HeadlessUi::~HeadlessUi() = default;

// ---- busy work's user-interface thread

void HeadlessUi::ActAsUser(const std::function<void()>& act) {
  if (!threaded_ || OnUiThread()) {
    act();
    return;
  }
  std::unique_lock<std::mutex> lock(userMutex_);
  userActs_.push_back(&act);
  const int mine = ++userActsQueued_;
  userChanged_.notify_all();
  userChanged_.wait(lock, [&] { return userActsDone_ >= mine; });
}

void HeadlessUi::RunDuringWorkInLine() {
  while (!duringWork_.empty()) {
    std::function<void()> act = std::move(duringWork_.front());
    duringWork_.pop_front();
    act();
  }
}

void HeadlessUi::TakeDuringWork() {
  actsOfThisWork_ = std::exchange(duringWork_, {});
  std::lock_guard<std::mutex> lock(userMutex_);
  actsPending_ = !actsOfThisWork_.empty();
}

void HeadlessUi::WaitDuringWorkDone() {
  std::unique_lock<std::mutex> lock(userMutex_);
  userChanged_.wait(lock, [&] { return !actsPending_; });
}

void HeadlessUi::PumpTurn(BusyRun& run) {
  // The acts scripted for the work come first, before this thread takes a lock that the worker takes
  // too: nothing orders them against the work, as nothing orders the input of real windows.
  if (!actsOfThisWork_.empty()) {
    for (; !actsOfThisWork_.empty(); actsOfThisWork_.pop_front()) actsOfThisWork_.front()();
    std::lock_guard<std::mutex> lock(userMutex_);
    actsPending_ = false;
    userChanged_.notify_all();
  }
  // The user's acts that the work waits for: the work goes on once they are done.
  for (;;) {
    const std::function<void()>* act = nullptr;
    {
      std::lock_guard<std::mutex> lock(userMutex_);
      if (userActs_.empty()) break;
      act = userActs_.front();
      userActs_.pop_front();
    }
    (*act)();
    std::lock_guard<std::mutex> lock(userMutex_);
    ++userActsDone_;
    userChanged_.notify_all();
  }
  for (const auto& host : hosts_) host->Paint();
  ++paints_;
  std::unique_lock<std::mutex> lock(userMutex_);
  userChanged_.wait_for(lock, std::chrono::milliseconds(2),
                        [&] { return woken_ || !userActs_.empty() || run.finished(); });
  woken_ = false;
}

void HeadlessUi::WakeFromWork() {
  std::lock_guard<std::mutex> lock(userMutex_);
  woken_ = true;
  userChanged_.notify_all();
}

HeadlessHost& HeadlessUi::Create(Dialog& dialog, int parentTemplateId, bool holdPosted) {
  hosts_.push_back(std::make_unique<HeadlessHost>(*this, dialog.templateId(), parentTemplateId));
  HeadlessHost& host = *hosts_.back();
  if (dialog.isOpen()) {
    RecordError("dialog " + std::to_string(dialog.templateId()) + " opened while it is already open");
    return host;
  }
  if (auto found = templates_.find(dialog.templateId()); found != templates_.end()) found->second(host);
  host.HoldPosted(holdPosted);
  host.Start(dialog);
  return host;
}

HeadlessHost& HeadlessUi::Open(Dialog& dialog, bool holdPosted) { return Create(dialog, 0, holdPosted); }

int HeadlessUi::RunModal(Dialog& dialog) { return RunModalFrom(dialog, 0); }

int HeadlessUi::RunModalFrom(Dialog& dialog, int parentTemplateId) {
  const int templateId = dialog.templateId();
  if (dialog.isOpen()) {
    RecordError("dialog " + std::to_string(templateId) + " run while it is already open");
    return -1;
  }
  Script script = TakeScript(templateId);  // taken first: the dialog's own start may set up more
  HeadlessHost& host = Create(dialog, parentTemplateId);
  if (host.isOpen()) {
    if (script) {
      script(host);
    } else {
      RecordError("dialog " + std::to_string(templateId) + " run without a script");
    }
  }
  if (host.isOpen()) {
    if (script) RecordError("dialog " + std::to_string(templateId) + " still open after its script");
    host.EndDialog(IDCANCEL);
  }
  modalRuns_.push_back(ModalRecord{templateId, parentTemplateId, host.result()});
  return host.result();
}

HeadlessUi::Script HeadlessUi::TakeScript(int templateId) {
  if (auto queued = oneShot_.find(templateId); queued != oneShot_.end() && !queued->second.empty()) {
    Script script = std::move(queued->second.front());
    queued->second.pop_front();
    return script;
  }
  auto repeating = repeating_.find(templateId);
  return repeating == repeating_.end() ? Script() : repeating->second;
}

void HeadlessUi::OnModal(int templateId, Script script) { oneShot_[templateId].push_back(std::move(script)); }

void HeadlessUi::OnEveryModal(int templateId, Script script) { repeating_[templateId] = std::move(script); }

void HeadlessUi::DefineTemplate(int templateId, Script setup) { templates_[templateId] = std::move(setup); }

int HeadlessUi::ShowMessageBox(int ownerTemplateId, std::string_view text, std::string_view caption, Icon icon) {
  return Show(MessageBoxRecord{std::string(text), std::string(caption), icon, ownerTemplateId}, IDOK);
}

int HeadlessUi::ShowYesNo(int ownerTemplateId, std::string_view text, std::string_view caption, Icon icon) {
  return Show(MessageBoxRecord{std::string(text), std::string(caption), icon, ownerTemplateId, true}, kAnswerNo);
}

// Records the box and gives the next scripted answer, or the box's default button when none is queued.
int HeadlessUi::Show(MessageBoxRecord record, int defaultAnswer) {
  messageBoxes_.push_back(std::move(record));
  if (answers_.empty()) return defaultAnswer;
  const int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void HeadlessUi::RecordBusyMisuse(std::string what) {
  if (busyMisuseFatal_) {
    std::fprintf(stderr, "busy work may not touch the user interface: %s\n", what.c_str());
    std::abort();
  }
  RecordError(std::move(what));
}

HeadlessHost* HeadlessUi::LastHost(int templateId) {
  for (auto it = hosts_.rbegin(); it != hosts_.rend(); ++it) {
    if ((*it)->templateId() == templateId) return it->get();
  }
  return nullptr;
}

}  // namespace quorvel::ui
