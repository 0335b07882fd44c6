// Busy work: the portable core with a real worker thread while this thread plays the user-interface
// thread's loop, and the headless backend's in-line runs with their rules.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "framework/busy_input.h"
#include "framework/busy_work.h"
#include "framework/headless/headless_ui.h"

namespace quorvel::ui {
namespace {

using namespace std::chrono_literals;

// The test thread's loop: counts its rounds and does what the test gives it on each.
class TestLoop : public BusyLoop {
 public:
  void Pump(BusyRun& run) override {
    ++rounds;
    if (onRound) onRound(run);
    run.WaitFinished(5);
  }
  void Wake() override { wakes.fetch_add(1); }

  std::function<void(BusyRun&)> onRound;
  int rounds = 0;
  std::atomic<int> wakes{0};
};

TEST(BusyWorkCore, RunsOnAnotherThreadWhileTheLoopTurnsAndWakesItAtTheEnd) {
  TestLoop loop;
  BusyRun run;
  std::thread::id workThread;
  std::atomic<bool> release{false};
  loop.onRound = [&](BusyRun&) {
    if (loop.rounds == 3) release.store(true);  // the work ends only after the loop has turned
  };
  const BusyStatus status = RunBusyWork(
      [&](const BusyStop&) {
        workThread = std::this_thread::get_id();
        while (!release.load()) std::this_thread::yield();
      },
      loop, run);
  EXPECT_EQ(status, BusyStatus::Done);
  EXPECT_NE(workThread, std::this_thread::get_id());
  EXPECT_GE(loop.rounds, 3);
  EXPECT_EQ(loop.wakes.load(), 1);
  EXPECT_TRUE(run.finished());
  EXPECT_FALSE(InBusyWork());
}

TEST(BusyWorkCore, AnExceptionOfTheWorkIsThrownOnTheCallersThread) {
  TestLoop loop;
  BusyRun run;
  EXPECT_THROW(RunBusyWork([](const BusyStop&) { throw std::runtime_error("socket gone"); }, loop, run),
               std::runtime_error);
  EXPECT_FALSE(InBusyWork()) << "the thread can run busy work again";
  BusyRun again;
  EXPECT_EQ(RunBusyWork([](const BusyStop&) {}, loop, again), BusyStatus::Done);
}

TEST(BusyWorkCore, ASecondRunFromTheLoopIsRefusedAndRunsNothing) {
  TestLoop loop;
  BusyRun run;
  BusyStatus inner = BusyStatus::Done;
  std::atomic<bool> innerRan{false};
  std::atomic<bool> release{false};
  loop.onRound = [&](BusyRun&) {
    if (loop.rounds != 1) return;
    TestLoop innerLoop;
    BusyRun innerRun;
    inner = RunBusyWork([&](const BusyStop&) { innerRan.store(true); }, innerLoop, innerRun);
    release.store(true);
  };
  RunBusyWork([&](const BusyStop&) { while (!release.load()) std::this_thread::yield(); }, loop, run);
  EXPECT_EQ(inner, BusyStatus::Refused);
  EXPECT_FALSE(innerRan.load());
}

// A close recorded by the loop reaches the work as its stop, and is still there when the call returns.
TEST(BusyWorkCore, ACloseReachesTheWorkAndIsHeldUntilItEnds) {
  TestLoop loop;
  BusyRun run;
  loop.onRound = [](BusyRun& r) { r.RecordClose(); };
  int polls = 0;
  RunBusyWork(
      [&](const BusyStop& stop) {
        while (!stop.requested()) {
          ++polls;
          std::this_thread::yield();
        }
      },
      loop, run);
  EXPECT_TRUE(run.closeRecorded());
  EXPECT_TRUE(run.finished());
}

// A loop that fails: the work is told to stop and the loop goes on until the work has ended (a worker
// that waits for this thread gets its answer), then the failure goes on to the caller.
TEST(BusyWorkCore, WhenTheLoopThrowsTheWorkIsStoppedAndTheLoopGoesOnUntilItEnds) {
  TestLoop loop;
  BusyRun run;
  std::atomic<int> roundsSeen{0};
  loop.onRound = [&](BusyRun&) {
    roundsSeen.store(loop.rounds);
    if (loop.rounds == 1) throw std::runtime_error("paint failed");
  };
  std::atomic<bool> stopSeen{false};
  EXPECT_THROW(RunBusyWork(
                   [&](const BusyStop& stop) {
                     for (int i = 0; i < 2000 && !stop.requested(); ++i) std::this_thread::sleep_for(1ms);
                     stopSeen.store(stop.requested());
                     // an answer that only a turning loop gives
                     for (int i = 0; i < 2000 && roundsSeen.load() < 3; ++i) std::this_thread::sleep_for(1ms);
                   },
                   loop, run),
               std::runtime_error);
  EXPECT_TRUE(stopSeen.load());
  EXPECT_GE(roundsSeen.load(), 3);
  EXPECT_TRUE(run.finished());
  EXPECT_FALSE(InBusyWork());
}

// The worker's set-up and take-down (the apartment of the shell's calls) run on the worker, around the
// work, also when the work throws.
TEST(BusyWorkCore, TheWorkerIsSetUpAndTakenDownAroundTheWorkOnItsOwnThread) {
  struct Hooked : TestLoop {
    void WorkerStarted() override { events.push_back("started"), threads.push_back(std::this_thread::get_id()); }
    void WorkerEnded() override { events.push_back("ended"), threads.push_back(std::this_thread::get_id()); }
    std::vector<std::string> events;
    std::vector<std::thread::id> threads;
  };
  for (const bool throws : {false, true}) {
    Hooked loop;
    BusyRun run;
    std::thread::id workThread;
    auto work = [&](const BusyStop&) {
      loop.events.push_back("work");
      workThread = std::this_thread::get_id();
      if (throws) throw std::runtime_error("no box");
    };
    if (throws) {
      EXPECT_THROW(RunBusyWork(work, loop, run), std::runtime_error);
    } else {
      RunBusyWork(work, loop, run);
    }
    EXPECT_EQ(loop.events, std::vector<std::string>({"started", "work", "ended"})) << throws;
    EXPECT_EQ(loop.threads, std::vector<std::thread::id>({workThread, workThread})) << throws;
    EXPECT_NE(workThread, std::this_thread::get_id());
  }
}

// ---- what the Windows busy loop reads from the queue

TEST(BusyInput, KeysThatClose) {
  struct Case {
    const char* name;
    unsigned message;
    std::uintptr_t key;
    std::intptr_t lParam;
    BusyKey expected;
  };
  const std::vector<Case> cases = {
      {"Escape", kMessageKeyDown, kKeyEscape, 0, BusyKey::Escape},
      {"Escape with no focused window", kMessageSysKeyDown, kKeyEscape, 0, BusyKey::Escape},
      {"Enter", kMessageKeyDown, kKeyEnter, 0, BusyKey::Enter},
      {"Alt+F4", kMessageSysKeyDown, kKeyF4, kAltDownBit | 1, BusyKey::AltF4},
      {"F4 alone with no focused window", kMessageSysKeyDown, kKeyF4, 1, BusyKey::Other},
      {"F4 alone", kMessageKeyDown, kKeyF4, 1, BusyKey::Other},
      {"a key's release", kMessageKeyDown + 1, kKeyEscape, 0, BusyKey::Other},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassifyBusyKey(c.message, c.key, c.lParam), c.expected) << c.name;
}

// Timers are held with their callback, once per window, id and callback; posted messages all, in order.
TEST(BusyInput, HeldTimersKeepTheirCallbackAndTheOrder) {
  constexpr unsigned kTimer = 0x0113;
  constexpr unsigned kPostedMessage = 0x8000 + 0x3F1;
  HeldMessages held;
  const HeldMessage callbackTimer{10, kTimer, 1, 0x4000, true};
  const HeldMessage plainTimer{10, kTimer, 1, 0, true};
  const HeldMessage otherWindowsTimer{20, kTimer, 1, 0, true};
  const HeldMessage post{10, kPostedMessage, 7, 0, false};
  for (const HeldMessage& each : {callbackTimer, post, plainTimer, callbackTimer, post, otherWindowsTimer, plainTimer}) {
    held.Hold(each);
  }
  EXPECT_EQ(held.Release(), std::vector<HeldMessage>({callbackTimer, post, plainTimer, post, otherWindowsTimer}));
  EXPECT_TRUE(held.empty());
}

// The work waits for each of its first two results to be applied before it goes on, and posts a third as
// it ends: all three run on this thread, in order, the first two while the work still runs.
TEST(BusyWorkCore, ProgressIsAppliedOnTheLoopsThreadDuringTheWorkAndNoneIsLeftAtItsEnd) {
  TestLoop loop;
  BusyRun run;
  std::vector<int> applied;
  std::vector<std::thread::id> threads;
  std::atomic<int> appliedCount{0};
  std::atomic<bool> workSawBoth{false};
  RunBusyWork(
      [&](const BusyStop& stop) {
        for (int piece : {1, 2}) {
          stop.progress().Post([&, piece] {
            applied.push_back(piece);
            threads.push_back(std::this_thread::get_id());
            appliedCount.store(piece);
          });
          const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
          while (appliedCount.load() < piece && std::chrono::steady_clock::now() < giveUp) std::this_thread::yield();
        }
        workSawBoth.store(appliedCount.load() == 2);
        stop.progress().Post([&] { applied.push_back(3); });
      },
      loop, run);
  EXPECT_TRUE(workSawBoth.load()) << "the loop applies progress while the work runs";
  EXPECT_EQ(applied, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(threads, (std::vector<std::thread::id>(2, std::this_thread::get_id())));
  EXPECT_GE(loop.wakes.load(), 4) << "each piece wakes the loop, and so does the end";
}

// ---- the headless backend

constexpr int kMain = 102;
constexpr int kRefresh = 1005;
constexpr int kExit = 1003;
constexpr int kMinimize = 1004;
constexpr int kList = 1000;
constexpr int kField = 1010;
constexpr int kPlain = 1011;

class BusyDialog : public Dialog {
 public:
  BusyDialog() : Dialog(kMain) {}
  bool OnInitDialog() override {
    host().SetBusyRole(kExit, BusyRole::Close);
    host().SetBusyRole(kMinimize, BusyRole::Minimize);
    host().SetBusyRole(kField, BusyRole::KeepsEnter);
    host().SetBusyRole(kList, BusyRole::PicksRow);
    host().Post(7);
    return true;
  }
  void OnPosted(int id) override { log.push_back("posted " + std::to_string(id)); }
  void OnTimer(int id) override { log.push_back("timer " + std::to_string(id)); }
  void OnCommand(int id, int) override {
    log.push_back("command " + std::to_string(id));
    if (id == kRefresh && work) work();
    if (id == kExit) host().DestroyWindow();
  }
  void OnCancel() override {
    log.push_back("cancel");
    Dialog::OnCancel();
  }
  std::function<void()> work;
  std::vector<std::string> log;
};

TEST(BusyWorkHeadless, ValueComesBackAndTheOpenedDialogGetsItsPostedMessageAfterInit) {
  HeadlessUi ui;
  BusyDialog dialog;
  HeadlessHost& host = ui.Open(dialog);
  EXPECT_EQ(dialog.log, std::vector<std::string>({"posted 7"}));
  int value = 0;
  dialog.work = [&] {
    const auto result = dialog.host().RunBusy([] { return 42; });
    ASSERT_TRUE(result);
    value = *result;
  };
  host.Click(kRefresh);
  EXPECT_EQ(value, 42);
  EXPECT_EQ(host.busyRuns(), 1);
  EXPECT_TRUE(ui.errors().empty());
}

// Each way of closing while the work runs: recorded, seen by the work and the handler, acted on after.
struct CloseCase {
  const char* name;
  std::function<void(HeadlessHost&)> act;
  const char* acted;
};

TEST(BusyWorkHeadless, ACloseDuringTheWorkIsRecordedThenActedOnAfterTheHandler) {
  const std::vector<CloseCase> cases = {
      {"close box", [](HeadlessHost& h) { h.Close(); }, "cancel"},
      {"escape", [](HeadlessHost& h) { h.PressEscape(); }, "cancel"},
      {"exit", [](HeadlessHost& h) { h.Click(kExit); }, "command 1003"},
  };
  for (const CloseCase& c : cases) {
    HeadlessUi ui;
    BusyDialog dialog;
    HeadlessHost& host = ui.Open(dialog);
    bool stopSeen = false;
    bool closingAfter = false;
    BusyStatus second = BusyStatus::Done;
    dialog.work = [&] {
      const auto first = dialog.host().RunBusy([&](const BusyStop& stop) {
        c.act(host);
        stopSeen = stop.requested();
      });
      closingAfter = first.closing() && !first;
      second = dialog.host().RunBusy([] {}).status();
      dialog.log.push_back("handler end");
    };
    host.Click(kRefresh);
    EXPECT_TRUE(stopSeen) << c.name;
    EXPECT_TRUE(closingAfter) << c.name;
    EXPECT_EQ(second, BusyStatus::Closing) << c.name << ": later work of the handler runs nothing";
    EXPECT_EQ(dialog.log, std::vector<std::string>({"posted 7", "command 1005", "handler end", c.acted})) << c.name;
    EXPECT_FALSE(host.isOpen()) << c.name;
  }
}

TEST(BusyWorkHeadless, OtherInputDuringTheWorkIsDroppedButTheMinimiseDiscWorks) {
  HeadlessUi ui;
  BusyDialog dialog;
  HeadlessHost& host = ui.Open(dialog);
  host.List(kList).InsertItem(0, "box");
  dialog.work = [&] {
    dialog.host().RunBusy([&] {
      host.Click(kRefresh);
      host.ClickListRow(kList, 0);
      host.Click(kMinimize);
    });
  };
  host.Click(kRefresh);
  EXPECT_EQ(dialog.log, std::vector<std::string>({"posted 7", "command 1005"})) << "the second Refresh is dropped";
  EXPECT_EQ(host.droppedInput(), 2);
  EXPECT_FALSE(host.List(kList).IsSelected(0)) << "the click does not even select";
  EXPECT_EQ(host.minimized(), 1);
}

// Enter during the work is a close only where it would close the window when idle; elsewhere it is dropped.
TEST(BusyWorkHeadless, EnterDuringTheWorkClosesOnlyWhereAnIdleEnterWould) {
  struct Case {
    const char* name;
    int focus;
    bool rowSelected;
    bool closes;
  };
  const std::vector<Case> cases = {
      {"a field that keeps Enter", kField, false, false},
      {"the list with a selected row", kList, true, false},
      {"the list without one", kList, false, true},
      {"a push button that does not close", kRefresh, false, false},
      {"a push button that closes", kExit, false, true},
      {"a control without a role", kPlain, false, true},
  };
  for (const Case& c : cases) {
    HeadlessUi ui;
    BusyDialog dialog;
    HeadlessHost& host = ui.Open(dialog);
    host.DefinePushButton(kRefresh);
    host.DefinePushButton(kExit);
    host.List(kList).InsertItem(0, "box");
    host.List(kList).SetSelected(0, c.rowSelected);
    dialog.work = [&] {
      host.Item(c.focus).SetFocus();
      dialog.host().RunBusy([&] { host.PressEnter(); });
    };
    host.Click(kRefresh);
    EXPECT_EQ(!host.isOpen(), c.closes) << c.name;
    EXPECT_EQ(host.droppedInput(), c.closes ? 0 : 1) << c.name;
  }
}

TEST(BusyWorkHeadless, TouchingTheUserInterfaceFromTheWorkIsCaughtAndNestingRefused) {
  HeadlessUi ui;
  ui.SetBusyMisuseFatal(false);
  BusyDialog dialog;
  HeadlessHost& host = ui.Open(dialog);
  ListView& list = host.List(kList);
  BusyStatus nested = BusyStatus::Done;
  dialog.work = [&] {
    dialog.host().RunBusy([&] {
      list.DeleteAllItems();  // a control taken before the work
      dialog.host().MessageBox("text", "caption", Icon::Error);
      nested = dialog.host().RunBusy([] {}).status();
    });
  };
#ifdef NDEBUG
  host.Click(kRefresh);
  EXPECT_EQ(nested, BusyStatus::Refused);
  ASSERT_EQ(ui.errors().size(), 3u);
  EXPECT_NE(ui.errors()[0].find("control 1000"), std::string::npos) << ui.errors()[0];
  EXPECT_NE(ui.errors()[1].find("message box"), std::string::npos) << ui.errors()[1];
  EXPECT_NE(ui.errors()[2].find("inside busy work"), std::string::npos) << ui.errors()[2];
  EXPECT_TRUE(ui.messageBoxes().size() == 1u);
#else
  EXPECT_DEATH(host.Click(kRefresh), "busy work inside busy work");
#endif
}


// ---- every dialog of the thread is held while one runs busy work; the threaded mode

constexpr int kChild = 130;
constexpr int kGo = 1020;

class ChildDialog : public Dialog {
 public:
  ChildDialog() : Dialog(kChild) {}
  void OnCommand(int id, int) override {
    if (id != kGo) return;
    host().RunBusy([this](const BusyStop& stop) {
      workThread = std::this_thread::get_id();
      if (work) work(stop);
    });
    host().EndDialog(IDOK);
  }
  std::function<void(const BusyStop&)> work;
  std::thread::id workThread;
};

// A child dialog's work runs from a handler of the main window: a click that reaches the main window
// meanwhile (a posted one, say) is dropped, its timer and its posted message wait for the end, in order.
TEST(BusyWorkHeadless, WhileAChildDialogsWorkRunsTheMainWindowIsHeld) {
  for (const bool threaded : {false, true}) {
    HeadlessUi ui;
    ui.SetThreaded(threaded);
    BusyDialog dialog;
    HeadlessHost& host = ui.Open(dialog);
    host.SetTimer(3, 100);
    ChildDialog child;
    dialog.work = [&] {
      dialog.host().RunModal(child);
      dialog.log.push_back("child ended");
    };
    ui.OnModal(kChild, [](HeadlessHost& h) { h.Click(kGo); });
    ui.DuringWork([&] {
      host.FireTimer(3);
      host.Click(kRefresh);
      host.Post(9);
      host.FireTimer(3);  // held once
      host.Click(kExit);  // no close of a window whose work this is not
    });
    host.Click(kRefresh);
    EXPECT_EQ(dialog.log, std::vector<std::string>({"posted 7", "command 1005", "child ended", "timer 3", "posted 9"}))
        << threaded;
    EXPECT_EQ(host.droppedInput(), 2) << threaded;
    EXPECT_TRUE(host.isOpen()) << threaded;
    EXPECT_EQ(child.workThread != std::this_thread::get_id(), threaded);
    EXPECT_TRUE(ui.errors().empty()) << threaded << ": " << (ui.errors().empty() ? "" : ui.errors()[0]);
  }
}

// Threaded: the user-interface thread paints while the work runs; a fake that acts as the user from inside
// the work has its act done there, and the work sees the close it recorded.
TEST(BusyWorkHeadless, ThreadedTheUsersActFromTheWorkRunsOnTheUserInterfaceThread) {
  HeadlessUi ui;
  ui.SetThreaded(true);
  BusyDialog dialog;
  HeadlessHost& host = ui.Open(dialog);
  host.List(kList).InsertItem(0, "box");
  std::thread::id actThread;
  bool stopSeen = false;
  dialog.work = [&] {
    dialog.host().RunBusy([&](const BusyStop& stop) {
      ui.ActAsUser([&] {
        actThread = std::this_thread::get_id();
        host.PressEscape();
      });
      stopSeen = stop.requested();
    });
  };
  host.Click(kRefresh);
  EXPECT_EQ(actThread, std::this_thread::get_id());
  EXPECT_TRUE(stopSeen);
  EXPECT_FALSE(host.isOpen()) << "the Escape was acted on after the handler";
  EXPECT_GE(ui.paints(), 1);
  EXPECT_TRUE(ui.errors().empty());
}

// Threaded: what the work itself does to a control, a message box or busy work is caught on the worker.
TEST(BusyWorkHeadless, ThreadedTouchingTheUserInterfaceFromTheWorkerIsCaught) {
  HeadlessUi ui;
  ui.SetThreaded(true);
  ui.SetBusyMisuseFatal(false);
  BusyDialog dialog;
  HeadlessHost& host = ui.Open(dialog);
  ListView& list = host.List(kList);
  dialog.work = [&] {
    dialog.host().RunBusy([&] {
      list.ItemCount();
      dialog.host().SetWindowText("busy");
    });
  };
  host.Click(kRefresh);
  ASSERT_EQ(ui.errors().size(), 2u);
  EXPECT_NE(ui.errors()[0].find("control 1000"), std::string::npos) << ui.errors()[0];
  EXPECT_NE(ui.errors()[1].find("window text"), std::string::npos) << ui.errors()[1];
}

}  // namespace
}  // namespace quorvel::ui
