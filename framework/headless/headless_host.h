// One open dialog of the headless backend. The dialog's handlers see the DialogHost side; a test drives the
// dialog with the user's actions (Click, SelectComboItem, PressEscape, ...) and reads the recorded state.
//
// As with real windows, EndDialog and DestroyWindow take effect when the handler that called them returns:
// then OnDestroy runs, once, and the dialog is detached. The host itself stays, with its controls' last
// state, for the test to look at, until the HeadlessUi goes.
#pragma once

#include <map>
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
  void SetWindowText(std::string_view text) override { windowText_ = text; }
  void SetIcon(int iconResource) override { icon_ = iconResource; }
  void EndDialog(int result) override;
  void DestroyWindow() override;  // ends the dialog with IDCANCEL
  void Minimize() override { ++minimized_; }
  int MessageBox(std::string_view text, std::string_view caption, Icon icon) override;
  int RunModal(Dialog& child) override;
  bool SetTimer(int id, int millis) override;
  void KillTimer(int id) override { timers_.erase(id); }
  int TextCharset() override { return 0; }  // ANSI
  int FocusedId() override { return focus_.controlId; }
  void BeginWaitCursor() override;
  void EndWaitCursor() override;

  // The user's actions. Acting on a dialog that has ended, or on a control that is disabled or hidden, is
  // recorded as an error and does nothing.
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
  // gets the dialog's OK.
  void PressEnter();
  void PressSpaceOnList(int id);              // the list takes the focus, then its key notification
  void Close();                               // the window's close request
  void FireTimer(int id);                     // only a timer that is set

  // The template's push buttons (their kind is the template's, not the dialog's): see PressEnter.
  void DefinePushButton(int id) { SlotFor(id).state.pushButton = true; }

  // Attaches the dialog and runs OnInitDialog; the HeadlessUi calls it once, after the template's set-up.
  void Start(Dialog& dialog);

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

  bool CanAct(std::string_view action);
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
  std::map<int, Slot> slots_;                    // map nodes stay put: controls keep their state's address
  std::vector<std::unique_ptr<Control>> strays_;  // asked for under an id that has another kind
};

}  // namespace quorvel::ui
