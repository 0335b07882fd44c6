// Codepage upload and add-on install: the status polls and their messages, the codepage rows that need
// full support, the order and place of the files written, failures part-way, the restart wait and whether
// the main window starts afresh, and the add-on's readiness check and staging.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "panel_fixture.h"
#include "services/addon_install.h"
#include "services/codepage_table.h"
#include "services/extract_resource.h"
#include "services/language_dialog.h"
#include "services/message_dialog.h"
#include "services/progress_dialog.h"

namespace quorvel::testkit {
namespace {

using Strings = std::vector<std::string>;
template <class Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& param) {
  return param.param.name;
}
constexpr std::int64_t kSecond = 1'000'000;
const std::string kBox = "\\\\192.0.2.1\\";

// A box behind the service requests: each status request takes the next scripted answer (text and result),
// then answers nothing; the share name is the same every time.
struct ScriptedBox final : ServiceRequests {
  struct Answer {
    std::string text;
    int result = 1;
  };
  static int Next(std::deque<Answer>& answers, StatusText& text) {
    if (answers.empty()) return 0;
    text = answers.front().text;
    const int result = answers.front().result;
    answers.pop_front();
    return result;
  }
  int QueryDiskStatus(StatusText& text) override {
    if (diskPolls++ == 0) firstPollAt = clock->NowMicros();
    if (onDiskPoll) onDiskPoll(diskPolls);
    return Next(disk, text);
  }
  int QueryAddonStatus(StatusText& text) override { ++addonPolls; return Next(addon, text); }
  int QuerySystemShareName(ShareNameText& name) override {
    name = share;
    return share.empty() ? 0 : 1;
  }
  int RequestAccessMode(const StatusText& mode) override {
    accessModes.push_back(mode.str());
    if (onJob) onJob();
    return 1;
  }
  int StartAddon(const StatusText& name) override { started.push_back(name.str()); return 1; }

  std::deque<Answer> disk, addon;
  std::string share;
  int diskPolls = 0, addonPolls = 0;
  Clock* clock = nullptr;
  std::int64_t firstPollAt = 0;
  std::function<void(int)> onDiskPoll;  // as the user acting while the poll is out
  std::function<void()> onJob;          // as the user acting while the copy job runs
  Strings accessModes, started;
};

class HiddenServices : public PanelTest {
 protected:
  void SetUp() override {
    for (const CodepageRow& row : CodepageTable()) {
      for (auto part : {row.marker, row.oldModules, row.newModules, row.maps}) {
        for (const PayloadFile& file : part) payloads.Put("Codepage", file.id, "payload " + std::string(file.name));
      }
    }
    payloads.Put("BT", 215, "bt payload");
    payloads.Put("BT", 220, "btdog payload");
    password = "";  // the box takes admin without a password: the add-on's check needs no login
    SetBoxes({{kAlpha, BoxFields("alpha", {{"192.0.2.1", "255.255.255.0", "192.0.2.254"}})}});
    Open();
    SelectAccepted(0);
    box.clock = &clock;
    dialog.UseServiceRequests(box);
    searchesBefore = Requests(OP_SEARCH).size();
    runsBefore = ui.modalRuns().size();
    ui.OnEveryModal(IDD_COPY_MESSAGE, [](ui::HeadlessHost& h) {
      h.PressEscape();  // ignored, as Enter and the close request are
      h.FireTimer(h.timers().begin()->first);
    });
    ui.OnEveryModal(IDD_RESTART_PROGRESS, [this](ui::HeadlessHost& h) {
      h.PressEnter();
      h.Close();
      EXPECT_TRUE(h.isOpen());
      EXPECT_EQ(h.timers(), (std::map<int, int>{{1, 90000}}));
      h.FireTimer(1);
      restartBarSteps = h.Progress(IDC_RESTART_PROGRESS_BAR).Steps();
      restartBarPos = h.Progress(IDC_RESTART_PROGRESS_BAR).Pos();
    });
  }
  void ChooseRow(int row) {
    ui.OnModal(IDD_LANGUAGE, [row](ui::HeadlessHost& h) {
      h.SelectComboItem(IDC_LANGUAGE_LIST, row);
      h.Click(ui::IDOK);
    });
  }
  void CancelLanguage() { ui.OnModal(IDD_LANGUAGE, [](ui::HeadlessHost& h) { h.Click(ui::IDCANCEL); }); }
  Strings Written() const {
    Strings paths;
    for (const auto& call : files.calls()) {
      if (call.operation == "write") paths.push_back(call.path);
    }
    return paths;
  }
  Strings Runs() const {
    Strings runs;
    for (std::size_t i = runsBefore; i < ui.modalRuns().size(); ++i) {
      runs.push_back(std::to_string(ui.modalRuns()[i].templateId));
    }
    return runs;
  }
  // The remote names connected, each once however often it was tried; every try without a local name,
  // with an empty password and user name, remembering nothing.
  Strings Connected() const {
    Strings remotes;
    for (const platform::NetworkCall& call : networkDrives.calls()) {
      EXPECT_EQ(call, platform::NetworkCall({platform::NetworkCall::Kind::Add, {0, "", call.request.remoteName},
                                             std::string(), std::string(), 0, false}));
      if (remotes.empty() || remotes.back() != call.request.remoteName) remotes.push_back(call.request.remoteName);
    }
    return remotes;
  }
  bool StartedAfresh() { return Requests(OP_SEARCH).size() > searchesBefore; }
  void ExpectNoErrors() {
    for (const std::string& error : ui.errors()) ADD_FAILURE() << error;
  }

  ScriptedBox box;
  std::size_t searchesBefore = 0;
  std::size_t runsBefore = 0;  // the selection's login
  int restartBarSteps = 0, restartBarPos = 0;
};

// ---- the language dialog's disk status polls

struct StatusCase {
  const char* name;
  std::vector<std::string> statuses;  // one per poll; then nothing
  int polls;
  const char* message;  // nullptr: the dialog opens
  bool opensPages = false;
};
void PrintTo(const StatusCase& c, std::ostream* out) { *out << c.name; }

class DiskStatus : public HiddenServices, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(DiskStatus, PollsUntilAKnownStatusAndActsOnIt) {
  const StatusCase& c = GetParam();
  for (const std::string& status : c.statuses) box.disk.push_back({status});
  if (!c.message) CancelLanguage();
  const std::int64_t start = clock.NowMicros();
  host->Click(IDC_CODEPAGE);

  EXPECT_EQ(box.diskPolls, c.polls);
  EXPECT_EQ(clock.NowMicros() - start, c.polls * kSecond) << "one second after each poll";
  EXPECT_EQ(Messages(), c.message ? Strings{c.message} : Strings{});
  if (c.message) {
    EXPECT_EQ(ui.messageBoxes()[0].caption, kServiceCaption);
    EXPECT_EQ(ui.messageBoxes()[0].ownerTemplateId, IDD_MAIN) << "the polls ran on the main window";
  }
  EXPECT_EQ(processes.commandLines(), c.opensPages ? Strings{"explorer http://192.0.2.1"} : Strings{});
  // Caught: the polls run inside the chooser's start, which then had to open for each status.
  EXPECT_EQ(Runs(), c.message ? Strings{} : Strings{"139"}) << "the chooser opens only for a ready box";
  EXPECT_EQ(dialog.serviceState().ServiceAborted.load(), -1);
  EXPECT_FALSE(StartedAfresh()) << "an abandoned flow leaves the main window alone";
  EXPECT_EQ(dialog.deviceSelectedMark(), 1);
  ExpectNoErrors();
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, DiskStatus,
    ::testing::Values(StatusCase{"empty", {}, 10, kNoMultiLanguage},
                      StatusCase{"none", {"1"}, 1, kNoHardDrives},
                      StatusCase{"unformatted", {"2"}, 1, kFormatHardDrive, true},
                      StatusCase{"unicode", {"4"}, 1, kSupportsUnicode},
                      StatusCase{"unknown", {"7", "0", "x"}, 10, kNoMultiLanguage},
                      StatusCase{"ready_third", {"", "9", "3"}, 3, nullptr},
                      StatusCase{"full", {"5"}, 1, nullptr}),
    CaseName<StatusCase>);

// ---- rows 3 to 5

class FullSupportRows : public HiddenServices, public ::testing::WithParamInterface<int> {};

TEST_P(FullSupportRows, NeedFullSupportAndWriteNothing) {
  const int row = GetParam();
  box.disk.push_back({"3"});
  ui.OnModal(IDD_LANGUAGE, [row](ui::HeadlessHost& h) {
    h.Click(ui::IDOK);  // no row: nothing
    EXPECT_TRUE(h.isOpen());
    h.SelectComboItem(IDC_LANGUAGE_LIST, row);
    h.Click(ui::IDOK);
    EXPECT_TRUE(h.isOpen());
    EXPECT_EQ(h.Combo(IDC_LANGUAGE_LIST).CurSel(), row) << "the choice stays";
    h.Click(ui::IDCANCEL);
  });
  box.disk.push_back({"5"});
  ChooseRow(row);
  host->Click(IDC_CODEPAGE);
  EXPECT_EQ(Messages(), Strings(2, kFirmwareLacksCodepage));
  EXPECT_FALSE(StartedAfresh());

  host->Click(IDC_CODEPAGE);  // the firmware has full support now
  EXPECT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Runs(), (Strings{"139", "139", "180", "141"}));
  EXPECT_TRUE(Written().empty());
  EXPECT_EQ(restartBarSteps, 99);
  EXPECT_EQ(restartBarPos, 100);
  EXPECT_EQ(dialog.serviceState().ServiceAborted.load(), 0);
  EXPECT_TRUE(StartedAfresh()) << "a restart wait that ran to its end refreshes the window";
  EXPECT_EQ(dialog.deviceSelectedMark(), 0);
  ExpectNoErrors();
}

INSTANTIATE_TEST_SUITE_P(Rows, FullSupportRows, ::testing::Values(3, 4, 5));

// ---- the files of a codepage

struct FilesCase {
  const char* name;
  int row;
  std::string share;
  std::string folder;
  Strings files;
};
void PrintTo(const FilesCase& c, std::ostream* out) { *out << c.name; }

class CodepageFiles : public HiddenServices, public ::testing::WithParamInterface<FilesCase> {};

TEST_P(CodepageFiles, AreWrittenInTableOrderIntoTheLayoutsFolder) {
  const FilesCase& c = GetParam();
  box.disk.push_back({"3"});
  box.share = c.share;
  ChooseRow(c.row);
  host->Click(IDC_CODEPAGE);
  Strings expected;
  for (const std::string& file : c.files) expected.push_back(kBox + c.folder + "\\" + file);
  EXPECT_EQ(Written(), expected);
  for (const std::string& path : expected) ASSERT_NE(files.File(path), nullptr) << path;
  EXPECT_EQ(*files.File(expected[0]), "payload " + c.files[0]);
  EXPECT_EQ(box.accessModes, Strings{"rw"});
  EXPECT_EQ(Connected(), expected) << "each file's path connected first, without credentials";
  EXPECT_EQ(dialog.serviceState().LastCopyFailed, 0);
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(StartedAfresh());
  ExpectNoErrors();
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, CodepageFiles,
    ::testing::Values(
        FilesCase{"cyrillic_new", 7, "hdd_1", "hdd_1\\.systemfile\\.codepages",
                  {"codepage.866", "nls_cp866.ko", "nls_koi8-r.ko", "nls_cp866_12.ko", "nls_koi8-r_12.ko",
                   "unicode_map.866", "unicode_map.KOI8-R"}},
        FilesCase{"japanese_old_unnamed", 8, "", "HDD_a\\.codepages",
                  {"codepage.932", "nls_cp932.o", "nls_euc-jp.o", "nls_sjis.o", "unicode_map.932"}},
        FilesCase{"western_old", 2, "HDD_A", "HDD_a\\.codepages", {"codepage.850", "nls_cp850.o", "unicode_map.850"}}),
    CaseName<FilesCase>);

// ---- the box's address

struct AddressCase {
  const char* name;
  std::string address;  // what the box reports as its address
  int command;
};
void PrintTo(const AddressCase& c, std::ostream* out) { *out << c.name; }

class UncheckedAddress : public HiddenServices, public ::testing::WithParamInterface<AddressCase> {};

// Caught: the services putting a box's address into a path or command line without the dotted-address check.
TEST_P(UncheckedAddress, IsRefusedBeforeAnythingIsSentWrittenOrStarted) {
  const AddressCase& c = GetParam();
  SetBoxes({{kAlpha, BoxFields("alpha", {{c.address, "255.255.255.0", "192.0.2.254"}})}});
  host->Click(IDC_REFRESH);
  SelectAccepted(0);
  ASSERT_EQ(dialog.currentDeviceAddress().view(), c.address);
  const std::size_t checksBefore = Requests(OP_CHECK_PASSWORD).size();
  runsBefore = ui.modalRuns().size();
  box.disk.push_back({"2"});  // unformatted: the codepage flow would start "explorer http://<address>"
  box.share = "HDD_a";

  host->Click(c.command);
  EXPECT_EQ(Messages(), Strings{"Please select a device."});
  EXPECT_EQ(box.diskPolls, 0);
  EXPECT_EQ(Requests(OP_CHECK_PASSWORD).size(), checksBefore);
  EXPECT_TRUE(processes.commandLines().empty());
  EXPECT_TRUE(files.calls().empty());
  EXPECT_TRUE(Runs().empty());
  EXPECT_EQ(dialog.serviceState().AddonInstallActive, 0);
  ExpectNoErrors();
}

INSTANTIATE_TEST_SUITE_P(Addresses, UncheckedAddress,
                         ::testing::Values(AddressCase{"codepage_path", "192.0.2.1\\x", IDC_CODEPAGE},
                                           AddressCase{"codepage_leading_zero", "192.0.2.01", IDC_CODEPAGE},
                                           AddressCase{"addon_host_name", "evil.example", IDC_ADDON}),
                         CaseName<AddressCase>);

// ---- failures part-way

struct FailureCase {
  const char* name;
  std::string refused;
  Strings written;
};
void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.name; }

class CopyFailure : public HiddenServices, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(CopyFailure, StopsThereAndBringsTheLanguageDialogBack) {
  const FailureCase& c = GetParam();
  const std::string folder = kBox + "HDD_a\\.codepages\\";
  files.RefuseWrites(folder + c.refused);
  box.disk = {{"3"}, {"3"}};
  ChooseRow(2);
  CancelLanguage();
  host->Click(IDC_CODEPAGE);
  Strings expected;
  for (const std::string& file : c.written) expected.push_back(folder + file);
  EXPECT_EQ(Written(), expected);
  EXPECT_EQ(files.File(folder + c.written.back()), nullptr);
  if (c.written.size() > 1) {
    EXPECT_NE(files.File(folder + c.written.front()), nullptr) << "earlier files stay";
  }
  EXPECT_EQ(Messages(), Strings{kCheckHardDrives});
  EXPECT_EQ(ui.messageBoxes()[0].ownerTemplateId, IDD_COPY_MESSAGE);
  EXPECT_EQ(Runs(), (Strings{"139", "180", "139"}));
  EXPECT_EQ(box.diskPolls, 2) << "the dialog starts again with its polls";
  EXPECT_EQ(Connected(), expected);
  EXPECT_EQ(dialog.serviceState().LastCopyFailed, 1);
  EXPECT_FALSE(StartedAfresh());
  ExpectNoErrors();
}

INSTANTIATE_TEST_SUITE_P(Files, CopyFailure,
                         ::testing::Values(FailureCase{"marker", "codepage.850", {"codepage.850"}},
                                           FailureCase{"map", "unicode_map.850",
                                                       {"codepage.850", "nls_cp850.o", "unicode_map.850"}}),
                         CaseName<FailureCase>);

// Caught: the upload deciding by LastCopyFailed (which a row without files leaves at 1 from the failed job
// before) instead of by the job's own outcome, so a job that succeeded brought the chooser back.
TEST_F(HiddenServices, ARowWithoutFilesAfterAFailedJobGoesToTheRestartWait) {
  files.RefuseWrites(kBox + "HDD_a\\.codepages\\codepage.850");
  box.disk = {{"5"}, {"5"}};
  ChooseRow(2);
  ChooseRow(3);
  host->Click(IDC_CODEPAGE);
  EXPECT_EQ(Messages(), Strings{kCheckHardDrives});
  EXPECT_EQ(Runs(), (Strings{"139", "180", "139", "180", "141"}));
  EXPECT_EQ(dialog.serviceState().LastCopyFailed, 1) << "the row's job wrote nothing";
  EXPECT_TRUE(StartedAfresh());
  ExpectNoErrors();
}

// Caught: a share name other than "HDD_1" or "HDD_a" taken as a folder to write to, and (add-on) the copy
// message of the next codepage upload still running the add-on job because that job never started.
TEST_F(HiddenServices, AnUnknownShareNameWritesNothing) {
  box.share = "Volume_9";
  box.disk = {{"3"}};
  box.addon = {{"1"}, {"1"}};
  dialog.serviceState().ServiceAborted = -1;  // left by an earlier abandoned flow: the window stays as it is
  host->Click(IDC_ADDON);
  EXPECT_EQ(Messages(), Strings{kCheckHardDrives});
  EXPECT_EQ(Runs(), Strings{"180"});
  EXPECT_TRUE(Written().empty());
  EXPECT_FALSE(files.HasFolder("C:\\bt")) << "the add-on job never started";
  EXPECT_EQ(dialog.serviceState().AddonInstallActive, 0);
  EXPECT_TRUE(box.started.empty());

  box.share = "HDD_a";
  box.disk = {{"3"}};
  ChooseRow(2);
  host->Click(IDC_CODEPAGE);
  EXPECT_EQ(Messages(), Strings{kCheckHardDrives});
  ASSERT_FALSE(Written().empty());
  EXPECT_EQ(Written().front(), kBox + "HDD_a\\.codepages\\codepage.850") << "the codepage job, not the add-on's";
  EXPECT_EQ(Runs(), (Strings{"180", "139", "180", "141"}));
  ExpectNoErrors();
}

TEST_F(HiddenServices, AFailedWriteDoesNotPassForAFileLeftThereBefore) {
  const std::string path = kBox + "HDD_a\\.codepages\\codepage.850";
  files.Put(path, "old");
  files.RefuseWrites(path);
  ServiceContext context{dialog.serviceState(), box, platform, *BoxAddress::Checked("192.0.2.1")};
  dialog.serviceState().PayloadFolder = "HDD_a\\.codepages";
  EXPECT_FALSE(ExtractResourceToFile(context, "Codepage", 143, path, ""));
  EXPECT_FALSE(ExtractResourceToFile(context, "Codepage", 999, kBox + "HDD_a\\x", "")) << "no such payload";
  EXPECT_EQ(Written(), Strings{path}) << "a missing payload writes nothing";
  EXPECT_EQ(dialog.serviceState().LastCopyFailed, 1);
}

// ---- gestures during the copy job

// Caught: Escape, Enter or the close request during the copy job recorded as the copy message's close, so
// that the job's success was thrown away: the chooser came back and OK uploaded the files a second time.
TEST_F(HiddenServices, GesturesDuringTheCopyJobKeepItsSuccess) {
  box.disk = {{"3"}, {"3"}};
  ChooseRow(2);
  ChooseRow(2);  // what the user would answer if the chooser came back
  box.onJob = [this] {
    ui::HeadlessHost& copying = *ui.LastHost(IDD_COPY_MESSAGE);
    copying.PressEscape();
    copying.PressEnter();
    copying.Close();
  };
  host->Click(IDC_CODEPAGE);
  const std::string folder = kBox + "HDD_a\\.codepages\\";
  EXPECT_EQ(Written(), (Strings{folder + "codepage.850", folder + "nls_cp850.o", folder + "unicode_map.850"}));
  EXPECT_EQ(Runs(), (Strings{"139", "180", "141"}));
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(ui.LastHost(IDD_COPY_MESSAGE)->droppedInput(), 3) << "dropped, as the idle dialog drops them";
  EXPECT_TRUE(StartedAfresh());
  ExpectNoErrors();
}

// ---- the restart wait's course

// Each sleep takes `overshoot` more than asked; the first that ends at `stallAt` or later, `stall` more.
struct LateClock final : Clock {
  std::int64_t NowMicros() override { return now; }
  void SleepMillis(int millis) override {
    now += millis * std::int64_t{1000} + overshoot;
    if (stall > 0 && now >= stallAt) now += std::exchange(stall, 0);
    if (onSleep) onSleep();
  }
  std::int64_t now = 0, overshoot = 0, stallAt = 0, stall = 0;
  std::function<void()> onSleep;
};

struct CourseCase {
  const char* name;
  std::int64_t overshoot, stallAt, stall;
  int stepsBeforeTimer;  // bar steps when the 90 s timer comes
};
void PrintTo(const CourseCase& c, std::ostream* out) { *out << c.name; }

class RestartCourse : public ::testing::TestWithParam<CourseCase> {};

// The timer comes at 90 s, or once the loop is back after that. Caught: steps timed from the step before
// (late steps added up past the timer, which left ServiceAborted at -1: no fresh start after the restart),
// and the timer ending the dialog after the full wait without marking the flow as run to its end.
TEST_P(RestartCourse, KeepsItsTimeAndEndsMarkedAsRunToItsEnd) {
  const CourseCase& c = GetParam();
  LateClock clock;
  clock.overshoot = c.overshoot;
  clock.stallAt = c.stallAt;
  clock.stall = c.stall;
  ServiceState state;
  state.ServiceAborted = -1;  // from an earlier abandoned flow
  ui::HeadlessUi ui;
  progress restart(state, clock);
  ui::HeadlessHost& host = ui.Open(restart, true);
  clock.onSleep = [&] {
    if (clock.now >= 90 * kSecond) host.HoldPosted(true);  // the timer is due: it goes first
  };
  host.DeliverHeldPosts();
  ui::HeadlessProgressBar& bar = host.Progress(IDC_RESTART_PROGRESS_BAR);
  EXPECT_EQ(bar.Steps(), c.stepsBeforeTimer);
  clock.now = std::max(clock.now, 90 * kSecond);
  host.FireTimer(kRestartWaitTimer);
  EXPECT_FALSE(host.isOpen());
  EXPECT_EQ(bar.Pos(), 100);
  EXPECT_EQ(bar.Steps(), 99);
  EXPECT_EQ(state.ServiceAborted.load(), 0);
  EXPECT_TRUE(ui.errors().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Lateness, RestartCourse,
    ::testing::Values(CourseCase{"each_step_20ms_late", 20'000, 0, 0, 99},
                      CourseCase{"dragged_5s_midway", 0, 30 * kSecond, 5 * kSecond, 99},
                      CourseCase{"held_past_the_timer", 0, 87'500'000, 3 * kSecond, 98}),
    CaseName<CourseCase>);

// ---- the add-on install

TEST_F(HiddenServices, AddonCheckGivesUpAfterSixtyOneSecondsOfSilence) {
  dialog.serviceState().ServiceAborted = 0;
  host->Click(IDC_ADDON);
  EXPECT_EQ(clock.NowMicros() - box.firstPollAt, 61 * kSecond) << "15 x 2 s, 1 s, 15 x 2 s";
  EXPECT_EQ(box.diskPolls, 15);
  EXPECT_EQ(box.addonPolls, 16);
  EXPECT_EQ(Messages(), Strings{kAddonUnsupported});
  EXPECT_TRUE(Runs().empty()) << "no login (admin is accepted), no copy";
  EXPECT_EQ(dialog.serviceState().ServiceAborted.load(), -1);
  EXPECT_EQ(dialog.serviceState().AddonInstallActive, 0);
  EXPECT_FALSE(StartedAfresh());
}

struct CheckCloseCase {
  const char* name;
  int command;
  std::int64_t pauseMicros;  // after each disk poll
};
void PrintTo(const CheckCloseCase& c, std::ostream* out) { *out << c.name; }

class CloseDuringTheCheck : public HiddenServices, public ::testing::WithParamInterface<CheckCloseCase> {};

// A close recorded on the main window during a service's second disk poll ends the pause after it: no
// further poll, no message, no chooser, and the window closes. Caught (codepage): the polls running inside
// the chooser's start, where the main window's close could not reach them.
TEST_P(CloseDuringTheCheck, EndsItsPause) {
  const CheckCloseCase& c = GetParam();
  box.onDiskPoll = [this](int poll) {
    if (poll == 2) ui.ActAsUser([this] { host->Close(); });
  };
  host->Click(c.command);
  EXPECT_EQ(box.diskPolls + box.addonPolls, 2);
  EXPECT_EQ(clock.NowMicros() - box.firstPollAt, c.pauseMicros) << "one pause, then nothing";
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(Runs().empty());
  EXPECT_EQ(dialog.serviceState().ServiceAborted.load(), -1);
  EXPECT_FALSE(host->isOpen());
}

INSTANTIATE_TEST_SUITE_P(Services, CloseDuringTheCheck,
                         ::testing::Values(CheckCloseCase{"addon", IDC_ADDON, 2 * kSecond},
                                           CheckCloseCase{"codepage", IDC_CODEPAGE, kSecond}),
                         CaseName<CheckCloseCase>);

TEST_F(HiddenServices, ARefusedAddonLeavesTheNextCopyToTheCodepageJob) {
  password = "other";
  ui.OnModal(IDD_LOGIN, [](ui::HeadlessHost& h) { h.Click(ui::IDCANCEL); });
  host->Click(IDC_ADDON);
  EXPECT_EQ(Messages(), Strings{"Wrong administrator password input!"});
  EXPECT_EQ(box.diskPolls, 0);

  box.disk.push_back({"3"});
  ChooseRow(2);
  host->Click(IDC_CODEPAGE);
  EXPECT_EQ(Written().front(), kBox + "HDD_a\\.codepages\\codepage.850");
  EXPECT_EQ(Runs(), (Strings{"134", "139", "180", "141"}));
}

// ---- the add-on job's failures

struct AddonFailureCase {
  const char* name;
  std::string refused;   // the path that cannot be written
  bool btOnBox;          // "bt" is on the box afterwards
  Strings copies;        // staging file > box, in order
};
void PrintTo(const AddonFailureCase& c, std::ostream* out) { *out << c.name; }

class AddonJobFailure : public HiddenServices, public ::testing::WithParamInterface<AddonFailureCase> {};

// Caught: a failed staging write or copy passing for a copied file, AddonCopied or the add-on start after a
// failure, staging files left on the PC, and the restart wait after a failed job.
TEST_P(AddonJobFailure, EndsWithTheMessageAndWithoutTheAddonStart) {
  const AddonFailureCase& c = GetParam();
  const std::string folder = kBox + "HDD_a\\Nas_Prog/BT\\";
  files.Put(folder + "bt", "bt of an earlier install");
  files.RefuseWrites(c.refused);
  box.disk = {{"3"}};
  box.addon = {{"1"}, {"1"}};
  host->Click(IDC_ADDON);

  EXPECT_EQ(Messages(), Strings{kCheckHardDrives});
  EXPECT_EQ(ui.messageBoxes()[0].ownerTemplateId, IDD_COPY_MESSAGE);
  EXPECT_EQ(Runs(), Strings{"180"}) << "no restart wait";
  EXPECT_EQ(dialog.serviceState().AddonCopied, 0);
  EXPECT_EQ(dialog.serviceState().LastCopyFailed, 1);
  EXPECT_TRUE(box.started.empty());
  // The earlier "bt" is deleted before the copy, also when the staging write failed.
  EXPECT_EQ(files.File(folder + "bt") ? *files.File(folder + "bt") : "none", c.btOnBox ? "bt payload" : "none");
  EXPECT_EQ(files.File(folder + "btdog"), nullptr);
  EXPECT_EQ(files.File("C:\\bt\\bt"), nullptr);
  EXPECT_EQ(files.File("C:\\bt\\btdog"), nullptr);
  Strings copies;
  for (const auto& call : files.calls()) {
    if (call.operation == "copy") copies.push_back(call.path);
  }
  EXPECT_EQ(copies, c.copies);
  EXPECT_EQ(Connected(), c.btOnBox ? (Strings{"C:\\bt\\bt", "C:\\bt\\btdog"}) : Strings{"C:\\bt\\bt"})
      << "the connection is tried with the staging path";
  EXPECT_EQ(dialog.serviceState().AddonInstallActive, 0);
  EXPECT_TRUE(StartedAfresh()) << "ServiceAborted was 0 already";
  EXPECT_FALSE(files.HasFolder("C:\\bt")) << "the empty staging folder is removed";
  ExpectNoErrors();
}

INSTANTIATE_TEST_SUITE_P(
    Steps, AddonJobFailure,
    ::testing::Values(AddonFailureCase{"staging_write", "C:\\bt\\bt", false, {}},
                      AddonFailureCase{"copy_to_box", kBox + "HDD_a\\Nas_Prog/BT\\bt", false,
                                       {"C:\\bt\\bt>" + kBox + "HDD_a\\Nas_Prog/BT\\bt"}},
                      AddonFailureCase{"btdog", kBox + "HDD_a\\Nas_Prog/BT\\btdog", true,
                                       {"C:\\bt\\bt>" + kBox + "HDD_a\\Nas_Prog/BT\\bt",
                                        "C:\\bt\\btdog>" + kBox + "HDD_a\\Nas_Prog/BT\\btdog"}}),
    CaseName<AddonFailureCase>);

struct AddonCase {
  const char* name;
  std::vector<ScriptedBox::Answer> disk, addon;
  bool installs;
};
void PrintTo(const AddonCase& c, std::ostream* out) { *out << c.name; }

class AddonReadiness : public HiddenServices, public ::testing::WithParamInterface<AddonCase> {};

TEST_P(AddonReadiness, DecidesByTheDiskAndAddonStatuses) {
  const AddonCase& c = GetParam();
  box.disk.assign(c.disk.begin(), c.disk.end());
  box.addon.assign(c.addon.begin(), c.addon.end());
  box.share = "HDD_1";
  host->Click(IDC_ADDON);
  if (!c.installs) {
    EXPECT_EQ(Messages(), Strings{kAddonUnsupported});
    EXPECT_TRUE(Runs().empty());
    return;
  }
  EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
  EXPECT_EQ(Runs(), (Strings{"180", "141"}));
  EXPECT_NE(files.File(kBox + "HDD_1\\Nas_Prog/BT\\bt"), nullptr);
  EXPECT_NE(files.File(kBox + "HDD_1\\Nas_Prog/BT\\btdog"), nullptr);
  EXPECT_EQ(files.File("C:\\bt\\bt"), nullptr) << "staging files are removed";
  EXPECT_FALSE(files.HasFolder("C:\\bt")) << "and the staging folder after the restart wait";
  EXPECT_EQ(box.started, Strings{"BT"});
  EXPECT_EQ(dialog.serviceState().AddonCopied, 0);
  EXPECT_TRUE(StartedAfresh());
  ExpectNoErrors();
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, AddonReadiness,
    ::testing::Values(AddonCase{"ready", {{"3"}}, {{"1"}, {"1"}}, true},
                      AddonCase{"unicode_as_ready", {{"4"}}, {{""}, {"1"}}, true},
                      AddonCase{"full_as_ready", {{"5", 0}, {"5", 1}}, {{"1"}, {"1"}}, true},
                      AddonCase{"stopped_by_box", {{"3"}}, {{"2", 1}, {"1"}}, false},
                      AddonCase{"addon_unknown", {{"3"}}, {{"0"}}, false}),
    CaseName<AddonCase>);

// A click on the Add-on button that reaches the main window while the add-on's copy job runs (a screen
// reader's default action, or any posted click) is dropped: the job alone writes the service state
// meanwhile, and the add-on is installed once.
TEST_F(HiddenServices, AnAddonClickDuringTheCopyJobIsDropped) {
  box.disk = {{"3"}};
  box.addon = {{"1"}, {"1"}};
  ui.OnModal(IDD_COPY_MESSAGE, [this](ui::HeadlessHost& h) {
    ui.DuringWork([this] { host->Click(IDC_ADDON); });
    h.FireTimer(h.timers().begin()->first);
  });
  host->Click(IDC_ADDON);
  EXPECT_EQ(host->droppedInput(), 1);
  EXPECT_EQ(Runs(), (Strings{"180", "141"}));
  EXPECT_EQ(box.started, Strings{"BT"});
  ExpectNoErrors();
}

}  // namespace
}  // namespace quorvel::testkit
