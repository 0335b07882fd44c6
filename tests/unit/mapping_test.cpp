// Mapping a share to a drive letter through the main window's Connect button: the exact connection
// calls for each Windows version and outcome, the drive-letter-in-use dialog, what the drive-letter box
// and the share list show afterwards, and the texts from the boxes that never reach a path.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "mapping_fixture.h"
#include "shares/mount_message.h"
#include "shares/share_paths.h"

namespace quorvel::testkit {
namespace {

// ---- Connect: the whole road of a mapping

TEST_F(MappingTest, MapsTheVolumeToZAndItsCompanionToYThenShowsBoth) {
  StartWithVolume();
  dialog.authenticator().AdminLoginMode = 1;
  ASSERT_EQ(CurrentLetter(), 0);  // Z:
  Connect();

  EXPECT_EQ(calls(), (Calls{CancelOf("Z:"), MainAdd(kEmpty, kEmpty, kProfile), CompanionAdd(kNull, kNull, kProfile)}));
  ExpectOnlyMessage(kMapped, "Confirm", ui::Icon::Information);
  EXPECT_EQ(Letters(), Concat<std::string>({"Z: \\\\192.0.2.1\\Volume_1", "Y: \\\\192.0.2.1\\Recycle Bin - Volume_1"},
                                           FreeLetters('X')));
  EXPECT_EQ(CurrentLetter(), 2) << "the first free letter, X:";
  EXPECT_EQ(ShareRows(), (Rows{{"Volume_1", "Z:"}, {"usb", ""}}));

  EXPECT_EQ(dialog.authenticator().AdminLoginMode, 0);
  EXPECT_TRUE(protocol.context().UserName.empty());
  EXPECT_TRUE(protocol.context().Password.empty());
  EXPECT_EQ(dialog.currentDeviceAddress().view(), kAddress);
  EXPECT_EQ(ui.modalRuns().size(), 1u) << "the login only: the letter was free";
  EXPECT_EQ(Requests(OP_GET_SHARES).size(), 1u) << "the share names are not fetched again";
  ExpectNoErrors();
}

// The credentials tried for each Windows version, with the box's answers scripted: which calls are made
// with exactly which texts (nothing and empty differ) and flags, and how the command ends.
struct CredentialCase {
  const char* name;
  OsVersion version;
  std::vector<std::uint32_t> answers;  // of the main connection's attempts, in order
  Calls adds;                          // every call after the letter's own connection is dropped
  bool mapped;
  std::string user = "admin", password = "secret";  // what the box accepted at its selection
};
void PrintTo(const CredentialCase& c, std::ostream* out) { *out << c.name; }

class Credentials : public MappingTest, public ::testing::WithParamInterface<CredentialCase> {};

TEST_P(Credentials, TriesWhatTheWindowsVersionAllowsInOrder) {
  const CredentialCase& c = GetParam();
  user = c.user;
  password = c.password;
  StartWithVolume();
  os.version = c.version;
  for (std::uint32_t answer : c.answers) networkDrives.QueueAddResult(answer);
  const Texts lettersBefore = Letters();
  Connect();

  EXPECT_EQ(calls(), Concat<NetworkCall>({CancelOf("Z:")}, c.adds));
  if (c.mapped) {
    ExpectOnlyMessage(kMapped, "Confirm", ui::Icon::Information);
    EXPECT_EQ(Letters()[0], "Z: \\\\192.0.2.1\\Volume_1");
    EXPECT_EQ(ShareRows(), (Rows{{"Volume_1", "Z:"}, {"usb", ""}}));
  } else {
    ExpectOnlyMessage(kMapFailed, "Error", ui::Icon::Error);
    EXPECT_FALSE(drives.IsConnected("Z:"));
    EXPECT_FALSE(drives.IsConnected("Y:")) << "no companion without the volume";
    EXPECT_EQ(Letters(), lettersBefore) << "not refreshed";
    EXPECT_EQ(ShareRows(), (Rows{{"Volume_1", ""}, {"usb", ""}}));
  }
  EXPECT_TRUE(protocol.context().UserName.empty());
  EXPECT_TRUE(protocol.context().Password.empty());
  ExpectNoErrors();
}

const NetworkCall kGuest = MainAdd(kEmpty, kEmpty, kProfile);
const NetworkCall kRemembered = MainAdd(std::string("secret"), std::string("admin"), kProfile);
const NetworkCall kPrompt = MainAdd(kEmpty, kEmpty, kInteractive);
const NetworkCall kRememberedCompanion = CompanionAdd(std::string("secret"), std::string("admin"), kProfile);

INSTANTIATE_TEST_SUITE_P(
    EveryWindows, Credentials,
    ::testing::Values(
        // A box that lets guests in is mapped at the first attempt, without a prompt, wherever NT is not.
        CredentialCase{"GuestOn98", k98, {}, {kGuest, CompanionAdd(kNull, kNull, kProfile)}, true},
        CredentialCase{"GuestOnXp", kXp, {}, {kGuest, CompanionAdd(kNull, kNull, kProfile)}, true},
        CredentialCase{"GuestOnSeven", kSeven, {}, {kGuest, CompanionAdd(kNull, kNull, kProfile)}, true},
        // Refused as a guest: the credentials accepted at the selection, on every version without a prompt.
        CredentialCase{"XpRemembered", kXp, {kRefused}, {kGuest, kRemembered, kRememberedCompanion}, true},
        CredentialCase{"UnnamedVersionRemembered", kServer2003, {kRefused},
                       {kGuest, kRemembered, kRememberedCompanion}, true},
        CredentialCase{"98RememberedRefused", k98, {kRefused, kRefused}, {kGuest, kRemembered}, false},
        // "Vista" and later: the system's own prompt, in the same call as the profile update.
        CredentialCase{"SevenPrompt", kSeven, {kRefused}, {kGuest, kPrompt, CompanionAdd(kNull, kNull, kInteractive)},
                       true},
        CredentialCase{"SevenPromptCancelled", kSeven, {kRefused, platform::kErrorCancelled}, {kGuest, kPrompt},
                       false},
        // NT 3.51 and 4: the remembered credentials only, up to six times.
        CredentialCase{"Nt4FirstAttempt", kNt4, {}, {kRemembered, kRememberedCompanion}, true},
        CredentialCase{"Nt351ThirdAttempt", kNt351, {kRefused, kRefused},
                       Concat(Repeat(kRemembered, 3), {kRememberedCompanion}), true},
        CredentialCase{"Nt4SixthAttempt", kNt4, std::vector<std::uint32_t>(5, kRefused),
                       Concat(Repeat(kRemembered, 6), {kRememberedCompanion}), true},
        CredentialCase{"Nt4AllSixRefused", kNt4, std::vector<std::uint32_t>(6, kRefused), Repeat(kRemembered, 6),
                       false},
        // Accepted with empty credentials at the selection: empty texts go, never nothing.
        CredentialCase{"Nt4EmptyRemembered", kNt4, {},
                       {MainAdd(kEmpty, kEmpty, kProfile), CompanionAdd(kEmpty, kEmpty, kProfile)}, true, "", ""}),
    [](const auto& each) { return std::string(each.param.name); });

// The credentials are those remembered for the box of the selected row, whatever box the panel shows
// and whatever the last command left in the request values.
TEST_F(MappingTest, RememberedCredentialsAreThoseOfTheSelectedRowsBox) {
  Start();
  password = "other";
  SelectAccepted(1);                       // beta, accepted with admin / other
  host->KeyListRow(IDC_DEVICE_LIST, 0);    // alpha's row selected with the keys: the panel stays beta's
  ASSERT_EQ(protocol.context().SelectedDeviceId, kBeta);
  host->ClickListRow(IDC_SHARE_LIST, 0);
  os.version = kXp;
  networkDrives.QueueAddResult(kRefused);
  Connect();
  ASSERT_EQ(calls().size(), 4u);
  EXPECT_EQ(calls()[2], kRemembered) << "alpha's address and alpha's credentials";
  EXPECT_TRUE(protocol.context().Password.empty());
}

TEST_F(MappingTest, WithNoOtherFreeLetterOnlyTheVolumeIsMapped) {
  drives.SetDriveType("Y:", platform::kDriveCdRom);
  FixedFrom('X');
  StartWithVolume();
  ASSERT_EQ(Letters(), Texts{"Z:"});
  Connect();
  EXPECT_EQ(calls(), (Calls{CancelOf("Z:"), kGuest}));
  ExpectOnlyMessage(kMapped, "Confirm", ui::Icon::Information);
  EXPECT_EQ(Letters(), Texts{"Z: \\\\192.0.2.1\\Volume_1"});
  EXPECT_EQ(CurrentLetter(), -1) << "every listed letter is mapped";
}

TEST_F(MappingTest, CompanionGoesToTheFirstFreeLetterAfterTheChosenOne) {
  StartWithVolume({{"Z:", "\\\\198.51.100.9\\data"}});
  ASSERT_EQ(CurrentLetter(), 1);  // Y:, the first free letter
  Connect();
  ASSERT_EQ(calls().size(), 3u);
  EXPECT_EQ(calls()[0], CancelOf("Y:"));
  EXPECT_EQ(calls()[1], NetworkCall::Add("Y:", kMainPath, kEmpty, kEmpty, kProfile));
  EXPECT_EQ(calls()[2], NetworkCall::Add("X:", kCompanionPath, kNull, kNull, kProfile));
  EXPECT_EQ(ShareRows(), (Rows{{"Volume_1", "Y:"}, {"usb", ""}}));
  EXPECT_EQ(Letters()[0], "Z: \\\\198.51.100.9\\data") << "another box's mapping stays";
}

TEST_F(MappingTest, FailedCompanionIsSilentAndTheVolumeStandsMapped) {
  StartWithVolume();
  networkDrives.QueueAddResult(platform::kNoError);
  networkDrives.QueueAddResult(67);  // ERROR_BAD_NET_NAME: the box has no companion share
  Connect();
  EXPECT_EQ(calls().size(), 3u);
  ExpectOnlyMessage(kMapped, "Confirm", ui::Icon::Information);
  EXPECT_EQ(Letters(), Concat<std::string>({"Z: \\\\192.0.2.1\\Volume_1"}, FreeLetters('Y')));
}

// ---- Connect: a letter that has a connection already

TEST_F(MappingTest, LetterInUseIsReplacedAfterOk) {
  StartWithVolume({{"Z:", "\\\\198.51.100.9\\data"}});
  ChooseLetter(0);  // "Z: \\198.51.100.9\data"
  AnswerMountMessage([](ui::HeadlessHost& question) { question.Click(ui::IDOK); });
  Connect();

  ASSERT_EQ(ui.modalRuns().size(), 2u);
  EXPECT_EQ(ui.modalRuns()[1].templateId, IDD_MOUNT_MESSAGE);
  EXPECT_EQ(ui.modalRuns()[1].parentTemplateId, IDD_MAIN);
  EXPECT_EQ(dialog.driveReuseAnswer(), 1);
  EXPECT_EQ(calls(), (Calls{CancelOf("Z:"), kGuest, CompanionAdd(kNull, kNull, kProfile)}));
  EXPECT_EQ(Letters()[0], "Z: \\\\192.0.2.1\\Volume_1");
  ExpectOnlyMessage(kMapped, "Confirm", ui::Icon::Information);
}

struct NotOkCase {
  const char* name;
  std::function<void(ui::HeadlessHost&)> answer;
};
void PrintTo(const NotOkCase& c, std::ostream* out) { *out << c.name; }

class LetterInUse : public MappingTest, public ::testing::WithParamInterface<NotOkCase> {};

TEST_P(LetterInUse, IsKeptWhenTheQuestionIsNotAnsweredOk) {
  StartWithVolume({{"Z:", "\\\\198.51.100.9\\data"}});
  ChooseLetter(0);  // "Z: \\198.51.100.9\data"
  const Texts lettersBefore = Letters();
  AnswerMountMessage(GetParam().answer);
  Connect();
  ASSERT_EQ(ui.modalRuns().size(), 2u);
  EXPECT_EQ(ui.modalRuns()[1].templateId, IDD_MOUNT_MESSAGE);
  EXPECT_EQ(dialog.driveReuseAnswer(), 0);
  EXPECT_TRUE(calls().empty()) << ::testing::PrintToString(calls());
  EXPECT_TRUE(ui.messageBoxes().empty());
  EXPECT_TRUE(drives.IsConnected("Z:"));
  EXPECT_EQ(Letters(), lettersBefore);
  EXPECT_EQ(ShareRows(), (Rows{{"Volume_1", ""}, {"usb", ""}}));
  ExpectNoErrors();
}

INSTANTIATE_TEST_SUITE_P(
    EveryWayButOk, LetterInUse,
    ::testing::Values(NotOkCase{"Cancel", [](ui::HeadlessHost& q) { q.Click(ui::IDCANCEL); }},
                      NotOkCase{"Escape", [](ui::HeadlessHost& q) { q.PressEscape(); }},
                      NotOkCase{"CloseBox", [](ui::HeadlessHost& q) { q.Close(); }}),
    [](const auto& each) { return std::string(each.param.name); });

// The connection is dropped before the new one is made: when that fails, the letter has none, though
// the box shows the old mapping until the next rescan.
TEST_F(MappingTest, FailedReplacementLeavesTheLetterWithoutAConnection) {
  StartWithVolume({{"Z:", "\\\\198.51.100.9\\data"}});
  ChooseLetter(0);
  AnswerMountMessage([](ui::HeadlessHost& question) { question.Click(ui::IDOK); });
  networkDrives.QueueAddResult(kRefused);
  networkDrives.QueueAddResult(platform::kErrorCancelled);
  Connect();
  EXPECT_EQ(calls(), (Calls{CancelOf("Z:"), kGuest, kPrompt}));
  ExpectOnlyMessage(kMapFailed, "Error", ui::Icon::Error);
  EXPECT_FALSE(drives.IsConnected("Z:"));
  EXPECT_EQ(Letters()[0], "Z: \\\\198.51.100.9\\data");
  EXPECT_EQ(CurrentLetter(), 0);
}

// ---- Connect: when it stops before any connection

enum class Unselected { Volume, VolumeAboveView, BoxAboveView, Box };
struct UnselectedCase {
  const char* name;
  Unselected what;
};
void PrintTo(const UnselectedCase& c, std::ostream* out) { *out << c.name; }

class WithoutSelection : public MappingTest, public ::testing::WithParamInterface<UnselectedCase> {};

// Without a volume, or without a box in view to give the address, nothing is built: the warning.
TEST_P(WithoutSelection, WarnsAndChangesNothing) {
  Start();
  if (GetParam().what != Unselected::Volume) host->ClickListRow(IDC_SHARE_LIST, 0);
  switch (GetParam().what) {
    case Unselected::VolumeAboveView: host->List(IDC_SHARE_LIST).SetTopIndex(1); break;
    case Unselected::BoxAboveView: host->List(IDC_DEVICE_LIST).SetTopIndex(1); break;
    case Unselected::Box: host->List(IDC_DEVICE_LIST).SetSelected(-1, false); break;
    case Unselected::Volume: break;
  }
  dialog.authenticator().AdminLoginMode = 1;
  const Texts lettersBefore = Letters();
  Connect();
  EXPECT_TRUE(calls().empty());
  ExpectOnlyMessage(kSelectDevice, "Warning", ui::Icon::Warning);
  EXPECT_EQ(Letters(), lettersBefore);
  EXPECT_EQ(ShareRows(), (Rows{{"Volume_1", ""}, {"usb", ""}}));
  EXPECT_EQ(dialog.authenticator().AdminLoginMode, 0) << "emptied before anything is looked at";
  EXPECT_TRUE(protocol.context().Password.empty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryWay, WithoutSelection,
    ::testing::Values(UnselectedCase{"NoVolume", Unselected::Volume},
                      UnselectedCase{"VolumeAboveTheView", Unselected::VolumeAboveView},
                      UnselectedCase{"BoxAboveTheView", Unselected::BoxAboveView},
                      UnselectedCase{"NoBox", Unselected::Box}),
    [](const auto& each) { return std::string(each.param.name); });

TEST_F(MappingTest, NoLetterChosenEndsSilently) {
  FixedFrom('Z');
  StartWithVolume();
  ASSERT_EQ(CurrentLetter(), -1);
  Connect();
  EXPECT_TRUE(calls().empty());
  EXPECT_TRUE(ui.messageBoxes().empty());
  EXPECT_EQ(ui.modalRuns().size(), 1u);
}

// Texts from a box never reach a path unless the address is a plain dotted address and the volume
// stays one share; nothing is asked, dropped or connected.
struct UntrustedCase {
  const char* name;
  std::string address;
  std::string shares;
};
void PrintTo(const UntrustedCase& c, std::ostream* out) { *out << c.name; }

class Untrusted : public MappingTest, public ::testing::WithParamInterface<UntrustedCase> {};

TEST_P(Untrusted, IsRefusedBeforeAnythingIsDropped) {
  const UntrustedCase& c = GetParam();
  shareNames = c.shares;
  drives.SetConnection("Z:", "\\\\198.51.100.9\\data");
  SetBoxes({{kAlpha, BoxFields("alpha", {{c.address, "255.255.255.0", "192.0.2.254"}})}});
  Open();
  SelectAccepted(0);
  host->ClickListRow(IDC_SHARE_LIST, 0);
  ChooseLetter(0);  // the letter in use: not even the question is asked
  Connect();
  EXPECT_TRUE(calls().empty()) << ::testing::PrintToString(calls());
  ExpectOnlyMessage(kMapFailed, "Error", ui::Icon::Error);
  EXPECT_EQ(ui.modalRuns().size(), 1u);
  EXPECT_TRUE(drives.IsConnected("Z:"));
  ExpectNoErrors();
}

INSTANTIATE_TEST_SUITE_P(
    FromTheBox, Untrusted,
    ::testing::Values(UntrustedCase{"HostName", "nas.local", "Volume_1"},
                      UntrustedCase{"AddressWithAShare", "192.0.2.1\\admin$", "Volume_1"},
                      UntrustedCase{"EmptyAddress", "", "Volume_1"},
                      UntrustedCase{"VolumeWithBackslash", kAddress, "Volume_1\\..\\admin$"},
                      UntrustedCase{"VolumeWithSlash", kAddress, "Volume_1/sub"},
                      UntrustedCase{"VolumeDotDot", kAddress, ".."},
                      UntrustedCase{"VolumeDot", kAddress, "."}),
    [](const auto& each) { return std::string(each.param.name); });

// Judged as the box sent the name (UTF-8): double-byte characters of the ANSI code page whose second
// byte is a backslash ("表" 95 5C, "ソ" 83 5C in CP932) and dots inside a name are valid; a '/' that
// only an overlong sequence spells, controls and bytes that are not UTF-8 are refused.
TEST(SharePaths, NamesThatStayOneShare) {
  for (const char* good : {"Volume_1", "v.1", ".hidden", "HDD_a", "Recycle Bin - Volume_1", "a b", "a..b", "...",
                           "Backup..2024", "\xE8\xA1\xA8\xE7\xA4\xBA", "\xE3\x82\xBD", "\xF0\x9F\x93\x81",
                           "\xC2\xA0"}) {
    EXPECT_TRUE(IsSafeShareName(good)) << good;
  }
  for (const char* bad : {"", ".", "..", "a\\b", "\\", "a/b", "/", "..\\x", "x\\..", "a\tb", "\x1F", "a\x7F",
                          "a\xC2\x85", "\xC0\xAF", "a\xE0\x80\xAF", "\xFF", "\xE8\xA1", "\xED\xA0\x80",
                          "\xF4\x90\x80\x80"}) {
    EXPECT_FALSE(IsSafeShareName(bad)) << ::testing::PrintToString(std::string(bad));
  }
  EXPECT_EQ(MappableAddress("192.0.2.1", "Volume_1")->text(), "192.0.2.1");
  EXPECT_FALSE(MappableAddress("192.0.2.1 ", "Volume_1"));
  EXPECT_FALSE(MappableAddress("192.0.2.1", ".."));
  EXPECT_EQ(ShareUncPath(*BoxAddress::Checked("192.0.2.1"), RecycleShareName("v")), "\\\\192.0.2.1\\Recycle Bin - v");
}

// ---- a double-byte ANSI code page

// Each volume is mapped by the name the box sent, not by the row's CP932 text: judging that text
// refuses "表示" (its second byte is a backslash), and "Backup..2024" was refused for its dots; mapping it
// would address another share. The drive-letter box and the share list then show the mapping in CP932.
TEST_F(DoubleByteMappingTest, MapsEachVolumeByTheNameTheBoxSent) {
  const std::vector<std::pair<std::string, std::string>> volumes{{kHyouji, kHyoujiShown}, {kBackup, kBackup}};
  Start();
  ASSERT_EQ(ShareRows(), (Rows{{kHyoujiShown, ""}, {kBackup, ""}}));
  for (std::size_t row = 0; row < volumes.size(); ++row) {
    const auto& [volume, shown] = volumes[row];
    SCOPED_TRACE(shown);
    networkDrives.ClearCalls();
    host->ClickListRow(IDC_SHARE_LIST, static_cast<int>(row));
    const std::string drive = Letters()[static_cast<std::size_t>(CurrentLetter())].substr(0, 2);
    const std::string companionDrive{static_cast<char>(drive[0] - 1), ':'};
    Connect();
    const NetworkCall main = NetworkCall::Add(drive, Unc(kAddress, volume), kEmpty, kEmpty, kProfile);
    const NetworkCall companion =
        NetworkCall::Add(companionDrive, Unc(kAddress, Companion(volume)), kNull, kNull, kProfile);
    EXPECT_EQ(calls(), (Calls{CancelOf(drive), main, companion}));
    ASSERT_EQ(ui.messageBoxes().size(), row + 1);
    EXPECT_EQ(ui.messageBoxes().back().text, kMapped);
    EXPECT_EQ(ShareRows()[row], (Texts{shown, drive}));
    EXPECT_EQ(Letters()[static_cast<std::size_t>('Z' - drive[0])], drive + " \\\\192.0.2.1\\" + shown);
  }
  ExpectNoErrors();
}

// ---- the drive-letter-in-use dialog on its own

TEST(MountMessageDialog, AnswersOneOnlyForOk) {
  const std::vector<std::tuple<const char*, std::function<void(ui::HeadlessHost&)>, int, int>> ways{
      {"OK", [](ui::HeadlessHost& h) { h.Click(ui::IDOK); }, 1, ui::IDOK},
      {"Enter (the default button)", [](ui::HeadlessHost& h) { h.PressEnter(); }, 1, ui::IDOK},
      {"Cancel", [](ui::HeadlessHost& h) { h.Click(ui::IDCANCEL); }, 0, ui::IDCANCEL},
      {"Escape", [](ui::HeadlessHost& h) { h.PressEscape(); }, 0, ui::IDCANCEL},
      {"close box", [](ui::HeadlessHost& h) { h.Close(); }, 0, ui::IDCANCEL}};
  for (const auto& [how, act, answer, result] : ways) {
    SCOPED_TRACE(how);
    ui::HeadlessUi ui;
    std::int32_t driveReuseAnswer = 1 - answer;  // the other value, left by an earlier question
    MountMessage question(driveReuseAnswer);
    EXPECT_EQ(question.templateId(), 229);
    ui::HeadlessHost& host = ui.Open(question);
    act(host);
    EXPECT_TRUE(host.ended());
    EXPECT_EQ(host.result(), result);
    EXPECT_EQ(driveReuseAnswer, answer);
    EXPECT_TRUE(ui.errors().empty());
  }
}

TEST(MountMessageDialog, AQuestionThatNeverRunsAnswersNo) {
  std::int32_t driveReuseAnswer = 1;
  MountMessage question(driveReuseAnswer);
  EXPECT_EQ(driveReuseAnswer, 0);
}

}  // namespace
}  // namespace quorvel::testkit
