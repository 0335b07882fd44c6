// The headless dialog backend, which the console's tests stand on: how it runs dialogs from scripts, ends
// them (OnDestroy once, after the handler), records message boxes and timers, and keeps control state.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "framework/headless/headless_ui.h"

namespace quorvel::ui {
namespace {

constexpr int kMain = 102;
constexpr int kChild = 308;
constexpr int kButton = 1002;
constexpr int kList = 1000;
constexpr int kCombo = 1016;
constexpr int kAddress = 1006;

// A dialog whose handlers log what they receive and then do what the test gave them.
class TestDialog : public Dialog {
 public:
  explicit TestDialog(int templateId = kMain) : Dialog(templateId) {}

  bool OnInitDialog() override {
    log.push_back("init");
    if (onInit) onInit();
    return true;
  }
  void OnCommand(int id, int code) override {
    log.push_back("command " + std::to_string(id) + " " + std::to_string(code));
    if (onCommand) onCommand(id, code);
  }
  void OnNotify(int id, int code) override {
    log.push_back("notify " + std::to_string(id) + " " + std::to_string(code));
    if (onNotify) onNotify(id, code);
  }
  void OnTimer(int id) override { log.push_back("timer " + std::to_string(id)); }
  void OnOK() override {
    log.push_back("ok");
    Dialog::OnOK();
  }
  void OnCancel() override {
    log.push_back("cancel");
    if (!ignoreCancel) Dialog::OnCancel();
  }
  void OnDestroy() override {
    log.push_back("destroy");
    if (onDestroy) onDestroy();
  }

  std::function<void()> onInit;
  std::function<void(int, int)> onCommand;
  std::function<void(int, int)> onNotify;
  std::function<void()> onDestroy;
  bool ignoreCancel = false;
  std::vector<std::string> log;
};

using Log = std::vector<std::string>;

// --- Modal runs and scripts ----------------------------------------------------------------------

TEST(HeadlessModal, ScriptDrivesTheDialogAfterInitAndItsEndIsTheResult) {
  HeadlessUi ui;
  TestDialog dialog;
  ui.OnModal(kMain, [&](HeadlessHost& host) {
    EXPECT_EQ(dialog.log, Log{"init"});
    host.Click(kButton);
    host.EndDialog(7);
  });
  EXPECT_EQ(ui.RunModal(dialog), 7);
  EXPECT_EQ(dialog.log, (Log{"init", "command 1002 0", "destroy"}));
  EXPECT_FALSE(dialog.isOpen());
  ASSERT_EQ(ui.modalRuns().size(), 1u);
  EXPECT_EQ(ui.modalRuns()[0].result, 7);
  EXPECT_TRUE(ui.errors().empty());
}

TEST(HeadlessModal, ChildRunFromAHandlerReturnsWhatItsScriptEntered) {
  HeadlessUi ui;
  TestDialog main;
  TestDialog child(kChild);
  IpAddressEdit::Fields entered{};
  int childResult = 0;
  main.onCommand = [&](int, int) { childResult = main.host().RunModal(child); };
  child.onDestroy = [&] { child.host().Address(kAddress).GetAddress(entered); };
  ui.OnModal(kChild, [](HeadlessHost& host) {
    host.Address(kAddress).SetAddress({198, 51, 100, 7});
    host.Click(IDOK);
  });
  HeadlessHost& host = ui.Open(main);
  host.Click(kButton);
  EXPECT_EQ(childResult, IDOK);
  EXPECT_EQ(entered, (IpAddressEdit::Fields{198, 51, 100, 7}));
  EXPECT_FALSE(child.isOpen());
  EXPECT_TRUE(main.isOpen());
  ASSERT_EQ(ui.modalRuns().size(), 1u);
  EXPECT_EQ(ui.modalRuns()[0].parentTemplateId, kMain);
}

TEST(HeadlessModal, OneShotScriptsInOrderThenTheRepeatingOne) {
  HeadlessUi ui;
  ui.OnModal(kChild, [](HeadlessHost& h) { h.EndDialog(1); });
  ui.OnModal(kChild, [](HeadlessHost& h) { h.EndDialog(2); });
  ui.OnEveryModal(kChild, [](HeadlessHost& h) { h.EndDialog(9); });
  std::vector<int> results;
  for (int i = 0; i < 4; ++i) {
    TestDialog child(kChild);
    results.push_back(ui.RunModal(child));
  }
  EXPECT_EQ(results, (std::vector<int>{1, 2, 9, 9}));
  EXPECT_TRUE(ui.errors().empty());
}

TEST(HeadlessModal, RunWithoutScriptIsAnErrorAndEndsCancelled) {
  HeadlessUi ui;
  TestDialog dialog;
  EXPECT_EQ(ui.RunModal(dialog), IDCANCEL);
  EXPECT_EQ(dialog.log, (Log{"init", "destroy"}));
  EXPECT_EQ(ui.errors().size(), 1u);
}

TEST(HeadlessModal, ScriptThatLeavesTheDialogOpenIsAnError) {
  HeadlessUi ui;
  TestDialog dialog;
  dialog.ignoreCancel = true;
  ui.OnModal(kMain, [](HeadlessHost& h) { h.PressEscape(); });  // the dialog ignores Escape
  EXPECT_EQ(ui.RunModal(dialog), IDCANCEL);
  EXPECT_EQ(dialog.log, (Log{"init", "cancel", "destroy"}));
  EXPECT_EQ(ui.errors().size(), 1u);
}

TEST(HeadlessModal, TemplateSetUpIsInPlaceBeforeOnInitDialog) {
  HeadlessUi ui;
  ui.DefineTemplate(kMain, [](HeadlessHost& h) { h.Item(1022).Show(false); });
  TestDialog dialog;
  bool visibleAtInit = true;
  dialog.onInit = [&] { visibleAtInit = dialog.host().Item(1022).IsVisible(); };
  ui.Open(dialog);
  EXPECT_FALSE(visibleAtInit);
}

// --- The end of a dialog -------------------------------------------------------------------------

TEST(HeadlessEnd, EndDialogTakesEffectWhenTheHandlerReturns) {
  HeadlessUi ui;
  TestDialog dialog;
  bool openAfterEnd = false;
  dialog.onCommand = [&](int, int) {
    dialog.host().EndDialog(IDOK);
    openAfterEnd = dialog.isOpen();
    dialog.host().Item(kButton).Enable(false);  // still usable, as the window still exists
  };
  HeadlessHost& host = ui.Open(dialog);
  host.Click(kButton);
  EXPECT_TRUE(openAfterEnd);
  EXPECT_TRUE(host.ended());
  EXPECT_FALSE(dialog.isOpen());
  EXPECT_EQ(host.result(), IDOK);
  EXPECT_EQ(dialog.log.back(), "destroy");
}

TEST(HeadlessEnd, EveryWayOfEndingRunsOnDestroyExactlyOnce) {
  const std::vector<std::function<void(HeadlessHost&)>> endings = {
      [](HeadlessHost& h) { h.DestroyWindow(); },
      [](HeadlessHost& h) { h.PressEscape(); },
      [](HeadlessHost& h) { h.PressEnter(); },
      [](HeadlessHost& h) { h.Close(); },
      [](HeadlessHost& h) { h.Click(IDCANCEL); },
      [](HeadlessHost& h) { h.EndDialog(5); h.DestroyWindow(); h.EndDialog(6); },
  };
  for (size_t i = 0; i < endings.size(); ++i) {
    HeadlessUi ui;
    TestDialog dialog;
    dialog.onDestroy = [&] { dialog.host().EndDialog(99); };  // ending again from OnDestroy changes nothing
    HeadlessHost& host = ui.Open(dialog);
    endings[i](host);
    host.Click(kButton);  // too late: an error, not a command
    EXPECT_EQ(std::count(dialog.log.begin(), dialog.log.end(), "destroy"), 1) << "ending " << i;
    EXPECT_FALSE(dialog.isOpen()) << "ending " << i;
    EXPECT_NE(host.result(), 99) << "ending " << i;
    EXPECT_EQ(ui.errors().size(), 1u) << "ending " << i;
  }
}

TEST(HeadlessEnd, ResultsAndHowTheDialogEnded) {
  HeadlessUi ui;
  TestDialog a, b, c;
  HeadlessHost& byDestroy = ui.Open(a);
  byDestroy.DestroyWindow();
  HeadlessHost& byEnter = ui.Open(b);
  byEnter.PressEnter();
  HeadlessHost& byEnd = ui.Open(c);
  byEnd.EndDialog(5);
  byEnd.DestroyWindow();  // after the end: ignored
  EXPECT_EQ(byDestroy.result(), IDCANCEL);
  EXPECT_TRUE(byDestroy.destroyedDirectly());
  EXPECT_EQ(byEnter.result(), IDOK);
  EXPECT_FALSE(byEnter.destroyedDirectly());
  EXPECT_EQ(byEnd.result(), 5);
  EXPECT_FALSE(byEnd.destroyedDirectly());
}

TEST(HeadlessEnd, EndingDuringOnInitDialogClosesBeforeTheScript) {
  HeadlessUi ui;
  TestDialog dialog(kChild);
  dialog.onInit = [&] { dialog.host().EndDialog(3); };
  bool scriptRan = false;
  ui.OnModal(kChild, [&](HeadlessHost&) { scriptRan = true; });
  EXPECT_EQ(ui.RunModal(dialog), 3);
  EXPECT_FALSE(scriptRan);
  EXPECT_TRUE(ui.errors().empty());
}

// --- Message boxes and timers --------------------------------------------------------------------

TEST(HeadlessMessages, RecordedInOrderAndAnsweredFromTheQueueThenOk) {
  HeadlessUi ui;
  TestDialog dialog;
  HeadlessHost& host = ui.Open(dialog);
  ui.QueueMessageBoxAnswer(IDCANCEL);
  EXPECT_EQ(host.MessageBox("Please input IP address!", "Quorvel", Icon::Warning), IDCANCEL);
  EXPECT_EQ(host.MessageBox("Done", "Quorvel", Icon::Information), IDOK);
  ASSERT_EQ(ui.messageBoxes().size(), 2u);
  EXPECT_EQ(ui.messageBoxes()[0].text, "Please input IP address!");
  EXPECT_EQ(ui.messageBoxes()[0].icon, Icon::Warning);
  EXPECT_EQ(ui.messageBoxes()[1].caption, "Quorvel");
  EXPECT_EQ(ui.messageBoxes()[1].ownerTemplateId, kMain);
}

TEST(HeadlessTimers, SetFireKillAndGoneWithTheWindow) {
  HeadlessUi ui;
  TestDialog dialog;
  HeadlessHost& host = ui.Open(dialog);
  EXPECT_TRUE(host.SetTimer(4, 500));
  EXPECT_EQ(host.timers().at(4), 500);
  host.FireTimer(4);
  host.KillTimer(4);
  host.FireTimer(4);  // no longer set: an error
  EXPECT_EQ(dialog.log, (Log{"init", "timer 4"}));
  EXPECT_EQ(ui.errors().size(), 1u);
  host.SetTimer(5, 100);
  host.DestroyWindow();
  EXPECT_TRUE(host.timers().empty());
}

// --- User actions on controls --------------------------------------------------------------------

TEST(HeadlessActions, DisabledOrHiddenControlsCannotBeUsed) {
  HeadlessUi ui;
  TestDialog dialog;
  HeadlessHost& host = ui.Open(dialog);
  host.Item(kButton).Enable(false);
  host.Click(kButton);
  host.Combo(kCombo).AddString("Enable");
  host.Combo(kCombo).Show(false);
  host.SelectComboItem(kCombo, 0);
  EXPECT_EQ(dialog.log, Log{"init"});
  EXPECT_EQ(host.Combo(kCombo).CurSel(), -1);
  EXPECT_EQ(ui.errors().size(), 2u);
}

TEST(HeadlessActions, ComboSelectionIsInPlaceWhenTheHandlerRuns) {
  HeadlessUi ui;
  TestDialog dialog;
  int seen = -2;
  dialog.onCommand = [&](int id, int) { seen = dialog.host().Combo(id).CurSel(); };
  HeadlessHost& host = ui.Open(dialog);
  host.Combo(kCombo).AddString("Disable");
  host.Combo(kCombo).AddString("Enable");
  host.SelectComboItem(kCombo, 1);
  host.SelectComboItem(kCombo, 2);  // no such item: an error
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(dialog.log, (Log{"init", "command 1016 1"}));
  EXPECT_EQ(ui.errors().size(), 1u);
}

TEST(HeadlessActions, ListClickSelectsThatRowAloneThenNotifies) {
  HeadlessUi ui;
  TestDialog dialog;
  std::vector<int> selectedAtNotify;
  dialog.onNotify = [&](int id, int) {
    const ListView& seen = dialog.host().List(id);
    for (int row = 0; row < seen.ItemCount(); ++row) {
      if (seen.IsSelected(row)) selectedAtNotify.push_back(row);
    }
  };
  HeadlessHost& host = ui.Open(dialog);
  HeadlessListView& list = host.List(kList);
  for (int i = 0; i < 3; ++i) list.InsertItem(i, "box");
  list.SetSelected(0, true);
  list.SetSelected(2, true);
  host.ClickListRow(kList, 1);
  EXPECT_EQ(selectedAtNotify, std::vector<int>{1});
  EXPECT_EQ(host.focusedId(), kList);
  host.ClickListRow(kList, -1);  // below the rows
  EXPECT_TRUE(list.SelectedRows().empty());
  host.ClickListRow(kList, 3);
  EXPECT_EQ(dialog.log, (Log{"init", "notify 1000 -2", "notify 1000 -2"}));
  EXPECT_EQ(ui.errors().size(), 1u);
}

}  // namespace
}  // namespace quorvel::ui
