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
  if (InBusyWork() && busyRoles_.count(id) != 0 && busyRoles_[id] == BusyRole::Minimize) {
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
  if (TakenByBusyWork(false, {})) return;  // a busy window's timers wait for the end of the work
  if (!CanAct("timer")) return;
  if (timers_.count(id) == 0) {
    Error("timer " + std::to_string(id) + " fired but it is not set");
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

// ---- busy work, run in line

BusyStatus HeadlessHost::RunWork(const std::function<void(const BusyStop&)>& work) {
  if (InBusyWork()) {
    Error("busy work inside busy work");
    return BusyStatus::Refused;
  }
  if (closeRecorded_) return BusyStatus::Closing;
  BusyScope scope;
  ++busyRuns_;
  work(BusyStop(busyStop_, &inlineProgress_));
  return BusyStatus::Done;
}

void HeadlessHost::InlineProgress::Post(std::function<void()> apply) {
  host_.applyingProgress_ = true;
  apply();
  if (host_.progressWatch_) host_.progressWatch_();
  host_.applyingProgress_ = false;
}

bool HeadlessHost::TakenByBusyWork(bool closes, std::function<void()> close) {
  if (!InBusyWork()) return false;
  if (!closes) {
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
  if (isOpen()) posted_.push_back(id);
}

// Like a real message queue, one at a time, each after the handler before it has returned.
void HeadlessHost::DeliverPosted() {
  if (posted_.empty() || !isOpen() || handlerDepth_ != 0 || holdPosted_) return;
  const int id = posted_.front();
  posted_.pop_front();
  Dispatch([id](Dialog& d) { d.OnPosted(id); });
}

void HeadlessHost::DeliverHeldPosts() {
  holdPosted_ = false;
  DeliverPosted();
}

void HeadlessHost::CheckNotBusy(std::string_view what) {
  if (InBusyWork() && !applyingProgress_) ui_.RecordBusyMisuse("dialog " + std::to_string(templateId_) + ": " + std::string(what) + " used by busy work");
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
