#include "framework/headless/headless_host.h"

#include <optional>
#include <utility>

#include "framework/headless/headless_ui.h"

namespace quorvel::ui {

HeadlessHost::HeadlessHost(HeadlessUi& ui, int templateId, int parentTemplateId)
    : ui_(ui), templateId_(templateId), parentTemplateId_(parentTemplateId) {}

void HeadlessHost::Start(Dialog& dialog) {
  if (dialog_ != nullptr || ended_) return;
  dialog_ = &dialog;
  dialog.Attach(this);
  Dispatch([](Dialog& d) { d.OnInitDialog(); });
}

// ---- controls

HeadlessHost::Slot& HeadlessHost::SlotFor(int id) {
  CheckNotBusy("control " + std::to_string(id));
  Slot& slot = slots_[id];
  if (slot.state.id == 0 && !slot.state.touchedByWork) {
    slot.state.touchedByWork = [this](int touched) { CheckNotBusy("control " + std::to_string(touched)); };
  }
  slot.state.id = id;
  return slot;
}

template <class Kind>
Kind& HeadlessHost::Get(int id, const char* kindName) {
  Slot& slot = SlotFor(id);
  if (!slot.kind) slot.kind = std::make_unique<Kind>(slot.state, focus_);
  if (auto* kind = dynamic_cast<Kind*>(slot.kind.get())) return *kind;
  Error("control " + std::to_string(id) + " asked for as a " + kindName + " but it is another kind");
  auto stray = std::make_unique<Kind>(slot.state, focus_);
  Kind& result = *stray;
  strays_.push_back(std::move(stray));
  return result;
}

Control& HeadlessHost::Item(int id) {
  Slot& slot = SlotFor(id);
  if (slot.kind) return *slot.kind;
  if (!slot.plain) slot.plain = std::make_unique<HeadlessItem>(slot.state, focus_);
  return *slot.plain;
}

HeadlessListView& HeadlessHost::List(int id) { return Get<HeadlessListView>(id, "list view"); }
HeadlessComboBox& HeadlessHost::Combo(int id) { return Get<HeadlessComboBox>(id, "combo box"); }
HeadlessIpAddress& HeadlessHost::Address(int id) { return Get<HeadlessIpAddress>(id, "address editor"); }
HeadlessProgressBar& HeadlessHost::Progress(int id) { return Get<HeadlessProgressBar>(id, "progress bar"); }

// ---- the window's own operations

void HeadlessHost::EndDialog(int result) {
  CheckNotBusy("end of the dialog");
  if (!isOpen() || ended_) return;  // as on a window that is gone or going
  endRequested_ = true;
  result_ = result;       // a second call before the handler returns wins, as with the real call
  if (handlerDepth_ == 0) FinishIfEnded();
}

void HeadlessHost::DestroyWindow() {
  if (!isOpen() || ended_) return;
  destroyedDirectly_ = true;
  EndDialog(IDCANCEL);
}

int HeadlessHost::MessageBox(std::string_view text, std::string_view caption, Icon icon) {
  CheckNotBusy("message box");
  return ui_.ShowMessageBox(templateId_, text, caption, icon);
}

bool HeadlessHost::AskYesNo(std::string_view text, std::string_view caption, Icon icon) {
  CheckNotBusy("message box");
  return ui_.ShowYesNo(templateId_, text, caption, icon) == kAnswerYes;
}

int HeadlessHost::RunModal(Dialog& child) {
  CheckNotBusy("modal dialog");
  return ui_.RunModalFrom(child, templateId_);
}

bool HeadlessHost::SetTimer(int id, int millis) {
  CheckNotBusy("timer");
  if (!isOpen()) return false;
  timers_[id] = millis;
  return true;
}

// ---- the user's actions

bool HeadlessHost::CanAct(std::string_view action) {
  if (isOpen()) return true;
  Error(std::string(action) + " after the dialog ended");
  return false;
}

bool HeadlessHost::CanUse(int id, std::string_view action) {
  if (!CanAct(action)) return false;
  auto found = slots_.find(id);
  if (found != slots_.end() && !(found->second.state.enabled && found->second.state.visible)) {
    Error(std::string(action) + ": control " + std::to_string(id) + " is " +
          (found->second.state.enabled ? "hidden" : "disabled"));
    return false;
  }
  return true;
}

void HeadlessHost::Click(int id) {
  if (ui_.busyHost() == this && busyRoles_.count(id) != 0 && busyRoles_[id] == BusyRole::Minimize) {
    ++minimized_;  // the Minimise disc works while busy work runs
    return;
  }
  const bool closes = busyRoles_.count(id) != 0 && busyRoles_[id] == BusyRole::Close;
  if (TakenByBusyWork(closes, [this, id] { Click(id); })) return;
  if (!CanUse(id, "click")) return;
  focus_.controlId = id;  // a pressed button takes the focus
  Press(id);
}

void HeadlessHost::Press(int id) {
  Dispatch([id](Dialog& d) {
    if (id == IDOK) {
      d.OnOK();
    } else if (id == IDCANCEL) {
      d.OnCancel();
    } else {
      d.OnCommand(id, BN_CLICKED);
    }
  });
}

void HeadlessHost::SelectComboItem(int id, int index) {
  if (TakenByBusyWork(false, {})) return;
  if (!CanUse(id, "combo selection")) return;
  HeadlessComboBox& combo = Combo(id);
  if (index < 0 || index >= combo.Count()) {
    Error("combo " + std::to_string(id) + " has no item " + std::to_string(index));
    return;
  }
  combo.SetFocus();
  combo.SetCurSel(index);
  Dispatch([id](Dialog& d) { d.OnCommand(id, CBN_SELCHANGE); });
}

void HeadlessHost::ClickListRow(int id, int row) {
  if (TakenByBusyWork(false, {})) return;
  if (!CanUse(id, "list click")) return;
  HeadlessListView& list = List(id);
  if (row < -1 || row >= list.ItemCount()) {
    Error("list " + std::to_string(id) + " has no row " + std::to_string(row));
    return;
  }
  list.SetFocus();
  list.SetSelected(-1, false);
  if (row >= 0) list.SetSelected(row, true);
  Dispatch([id, row](Dialog& d) { d.OnListClick(id, NM_CLICK, row); });
}

int HeadlessHost::Type(int id, std::string_view characters) {
  if (TakenByBusyWork(false, {})) return 0;
  if (!CanUse(id, "typing")) return 0;
  Item(id).SetFocus();
  HeadlessControlState& state = SlotFor(id).state;
  int taken = 0;
  for (const char c : characters) {
    if (state.textLimit > 0 && state.text.size() >= static_cast<std::size_t>(state.textLimit)) break;
    state.text += c;
    ++taken;
  }
  return taken;
}

void HeadlessHost::KeyListRow(int id, int row) {
  if (TakenByBusyWork(false, {})) return;
  if (!CanUse(id, "list key")) return;
  HeadlessListView& list = List(id);
  if (row < 0 || row >= list.ItemCount()) {
    Error("list " + std::to_string(id) + " has no row " + std::to_string(row));
    return;
  }
  list.SetFocus();
  Dispatch([id](Dialog& d) { d.OnNotify(id, LVN_KEYDOWN); });
  list.SetSelected(-1, false);
  list.SetSelected(row, true);
  Dispatch([id](Dialog& d) { d.OnNotify(id, LVN_ITEMCHANGED); });
}

void HeadlessHost::PressEscape() {
  if (TakenByBusyWork(true, [this] { PressEscape(); })) return;
  if (CanAct("Escape")) Dispatch([](Dialog& d) { d.OnCancel(); });
}

void HeadlessHost::PressEnter() {
  if (TakenByBusyWork(EnterCloses(), [this] { PressEnter(); })) return;
  if (!CanAct("Enter")) return;
  const auto focused = slots_.find(focus_.controlId);
  if (focused != slots_.end() && focused->second.state.pushButton) {
    Press(focused->first);
  } else {
    Dispatch([](Dialog& d) { d.OnOK(); });
  }
}

// Whether Enter, routed as PressEnter does, would close the window when idle, judged by the focused
// control's busy role: read while busy work runs, so no control is touched.
bool HeadlessHost::EnterCloses() const {
  const int id = focus_.controlId;
  const auto slot = slots_.find(id);
  const auto found = busyRoles_.find(id);
  const std::optional<BusyRole> role = found == busyRoles_.end() ? std::nullopt : std::optional(found->second);
  if (slot != slots_.end() && slot->second.state.pushButton) {
    return role == BusyRole::Close || id == IDOK || id == IDCANCEL;  // its click
  }
  if (role == BusyRole::KeepsEnter) return false;
  if (role == BusyRole::PicksRow) {
    const auto* list = slot == slots_.end() ? nullptr : dynamic_cast<const HeadlessListView*>(slot->second.kind.get());
    return list == nullptr || list->SelectedRows().empty();
  }
  return true;  // the dialog's OK
}

void HeadlessHost::PressSpaceOnList(int id) {
  if (TakenByBusyWork(false, {})) return;
  if (!CanUse(id, "list key")) return;
  List(id).SetFocus();
  Dispatch([id](Dialog& d) { d.OnListKeyDown(id, kKeySpace); });
}

void HeadlessHost::BeginWaitCursor() {
  CheckNotBusy("wait cursor");
  if (waitDepth_++ == 0) ++waitsShown_;
}

void HeadlessHost::EndWaitCursor() {
  if (waitDepth_ == 0) {
    Error("the wait cursor ended more often than it began");
    return;
  }
  --waitDepth_;
}

void HeadlessHost::Close() {
  if (TakenByBusyWork(true, [this] { Close(); })) return;
  if (CanAct("close")) Dispatch([](Dialog& d) { d.OnCancel(); });
}

void HeadlessHost::FireTimer(int id) {
  if (!CanAct("timer")) return;
  if (timers_.count(id) == 0) {
    Error("timer " + std::to_string(id) + " fired but it is not set");
    return;
  }
  if (ui_.busyHost() != nullptr) {
    // As the system keeps one message per timer in a queue, a timer that fires again while held is held once.
    for (const Queued& queued : posted_) {
      if (queued.timer && queued.id == id) return;
    }
    posted_.push_back(Queued{true, id});
    return;
  }
  Dispatch([id](Dialog& d) { d.OnTimer(id); });
}

// ---- dispatch and the end

template <class Handler>
void HeadlessHost::Dispatch(Handler&& handler) {
  if (!isOpen()) return;
  {
    InHandler inHandler(handlerDepth_);
    std::forward<Handler>(handler)(*dialog_);
  }
  if (handlerDepth_ == 0) {
    DeliverRecordedClose();
    FinishIfEnded();
    DeliverPosted();
  }
}

// ---- busy work

namespace {

// The user-interface thread's loop of threaded mode.
class HeadlessLoop final : public BusyLoop {
 public:
  explicit HeadlessLoop(HeadlessUi& ui) : ui_(ui) {}
  void Pump(BusyRun& run) override { ui_.PumpTurn(run); }
  void Wake() override { ui_.WakeFromWork(); }

 private:
  HeadlessUi& ui_;
};

}  // namespace

BusyStatus HeadlessHost::RunWork(const std::function<void(const BusyStop&)>& work) {
  if (InBusyWork() || !ui_.OnUiThread()) {
    if (!ui_.OnUiThread()) CheckNotBusy("busy work");  // the worker's own: a misuse of its own
    Error("busy work inside busy work");
    return BusyStatus::Refused;
  }
  if (closeRecorded_) return BusyStatus::Closing;
  ++busyRuns_;
  struct BusyHost {
    HeadlessUi& ui;
    BusyHost(HeadlessUi& u, HeadlessHost* host) : ui(u) { ui.SetBusyHost(host); }
    ~BusyHost() { ui.SetBusyHost(nullptr); }
    BusyHost(const BusyHost&) = delete;
    BusyHost& operator=(const BusyHost&) = delete;
  } busy(ui_, this);
  if (!ui_.threaded()) {
    ui_.RunDuringWorkInLine();  // as the user-interface thread, before the work takes it over
    BusyScope scope;
    work(BusyStop(busyStop_, &inlineProgress_));
    return BusyStatus::Done;
  }
  ui_.TakeDuringWork();
  HeadlessLoop loop(ui_);
  BusyRun run;
  ThreadedProgress progress(*this, run);
  return RunBusyWork(
      [&](const BusyStop&) {
        // The acts scripted for this work happen while it runs: its end waits for them.
        struct WaitActs {
          HeadlessUi& ui;
          ~WaitActs() { ui.WaitDuringWorkDone(); }
        } waitActs{ui_};
        work(BusyStop(busyStop_, &progress));
      },
      loop, run);
}

// Reads what a real window paints; the kinds' own state too (rows, items, position).
void HeadlessHost::Paint() {
  if (!isOpen()) return;
  std::size_t read = 0;
  for (auto& [id, slot] : slots_) {
    Control* shown = slot.kind ? slot.kind.get() : slot.plain.get();
    if (shown == nullptr) continue;  // a template's button that the dialog never asked for
    const Control& control = *shown;
    read += control.Text().size() + (control.IsEnabled() ? 1 : 0) + (control.IsVisible() ? 1 : 0);
    if (const auto* list = dynamic_cast<const ListView*>(&control)) {
      for (int row = 0; row < list->ItemCount(); ++row) {
        for (int column = 0; column < list->ColumnCount(); ++column) read += list->ItemText(row, column).size();
      }
    } else if (const auto* combo = dynamic_cast<const ComboBox*>(&control)) {
      for (int item = 0; item < combo->Count(); ++item) read += combo->ItemText(item).size();
      read += static_cast<std::size_t>(combo->CurSel() + 1);
    } else if (const auto* bar = dynamic_cast<const ProgressBar*>(&control)) {
      read += static_cast<std::size_t>(bar->Pos());
    }
  }
  painted_ += read;
}

void HeadlessHost::ApplyProgress(const std::function<void()>& apply) {
  // In line, a turn that posts the next one applies it at once, inside this one.
  const bool outer = std::exchange(applyingProgress_, true);
  apply();
  if (progressWatch_) progressWatch_();
  applyingProgress_ = outer;
}

void HeadlessHost::InlineProgress::Post(std::function<void()> apply) { host_.ApplyProgress(apply); }

void HeadlessHost::ThreadedProgress::Post(std::function<void()> apply) {
  run_.Post([this, apply = std::move(apply)] { host_.ApplyProgress(apply); });
}

bool HeadlessHost::TakenByBusyWork(bool closes, std::function<void()> close) {
  if (ui_.busyHost() == nullptr) return false;
  if (!closes || userCannotClose_ || ui_.busyHost() != this) {
    ++droppedInput_;
  } else if (!closeRecorded_) {
    closeRecorded_ = true;
    busyStop_.store(true);
    recordedClose_ = std::move(close);
  }
  return true;
}

void HeadlessHost::DeliverRecordedClose() {
  if (!closeRecorded_ || !isOpen()) return;
  std::function<void()> close = std::move(recordedClose_);
  closeRecorded_ = false;
  busyStop_.store(false);
  if (close) close();
}

void HeadlessHost::Post(int id) {
  CheckNotBusy("posted message");
  if (isOpen()) posted_.push_back(Queued{false, id});
}

// Like a real message queue, one at a time, each after the handler before it has returned; nothing while
// busy work runs on any dialog.
void HeadlessHost::DeliverPosted() {
  if (posted_.empty() || !isOpen() || handlerDepth_ != 0 || holdPosted_ || ui_.busyHost() != nullptr) return;
  const Queued queued = posted_.front();
  posted_.pop_front();
  if (!queued.timer) {
    Dispatch([id = queued.id](Dialog& d) { d.OnPosted(id); });
  } else if (timers_.count(queued.id) != 0) {
    Dispatch([id = queued.id](Dialog& d) { d.OnTimer(id); });
  } else {
    DeliverPosted();  // a held timer that was killed meanwhile is gone
  }
}

void HeadlessHost::DeliverHeldPosts() {
  holdPosted_ = false;
  DeliverPosted();
}

// In line, the work runs inside the handler's run on this thread; threaded, the work is every thread but
// the user-interface thread's, where the loop may paint meanwhile.
void HeadlessHost::CheckNotBusy(std::string_view what) {
  const bool byTheWork = ui_.threaded() ? !ui_.OnUiThread() : InBusyWork() && !applyingProgress_;
  if (byTheWork) ui_.RecordBusyMisuse("dialog " + std::to_string(templateId_) + ": " + std::string(what) + " used by busy work");
}

void HeadlessHost::FinishIfEnded() {
  if (!endRequested_ || !isOpen() || ended_) return;
  ended_ = true;  // before OnDestroy, so that ending again from there does nothing
  Dialog& dialog = *dialog_;
  {
    InHandler inHandler(handlerDepth_);
    dialog.OnDestroy();
  }
  dialog.Attach(nullptr);
  dialog_ = nullptr;
  timers_.clear();  // a window's timers go with it
  posted_.clear();
  focus_.controlId = 0;
}

void HeadlessHost::Error(std::string_view what) {
  ui_.RecordError("dialog " + std::to_string(templateId_) + ": " + std::string(what));
}

}  // namespace quorvel::ui
