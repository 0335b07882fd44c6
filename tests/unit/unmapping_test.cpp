// Removing a drive mapping through the main window's Disconnect button: the volume's letter and its
// companion's on the same box, the chosen letter without a volume, the errors, and the search for a
// companion's letter in the drive map table.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "mapping_fixture.h"
#include "shares/disconnect_command.h"

namespace quorvel::testkit {
namespace {

// ---- Disconnect

const Connections kAlphaVolumeAndCompanion{{"Z:", "\\\\192.0.2.1\\Volume_1"},
                                           {"Y:", "\\\\192.0.2.1\\Recycle Bin - Volume_1"}};

TEST_F(MappingTest, DisconnectsTheVolumeAndItsCompanionThenFreesBothLetters) {
  StartWithVolume(kAlphaVolumeAndCompanion);
  ASSERT_EQ(ShareRows(), (Rows{{"Volume_1", "Z:"}, {"usb", ""}}));
  ASSERT_EQ(CurrentLetter(), 2);
  Disconnect();

  EXPECT_EQ(calls(), (Calls{CancelOf("Z:"), CancelOf("Y:")}));
  ExpectOnlyMessage(kUnmapped, "Confirm", ui::Icon::Information);
  EXPECT_EQ(Letters(), FreeLetters('Z'));
  EXPECT_EQ(CurrentLetter(), 0);
  EXPECT_EQ(ShareRows(), (Rows{{"Volume_1", ""}, {"usb", ""}})) << "the same volumes, in the same order";
  EXPECT_EQ(Requests(OP_GET_SHARES).size(), 1u);
  ExpectNoErrors();
}

// A volume of 81 CJK characters (243 bytes): its companion's name takes 257 bytes and is found whole.
TEST_F(MappingTest, DisconnectsTheCompanionOfAVolumeOf255Bytes) {
  std::string volume;
  for (int i = 0; i < 81; ++i) volume += "\xE5\x90\x8D";
  shareNames = volume + ":Recycle Bin - " + volume;
  StartWithVolume({{"Z:", "\\\\192.0.2.1\\" + volume}, {"Y:", "\\\\192.0.2.1\\Recycle Bin - " + volume}});
  Disconnect();
  EXPECT_EQ(calls(), (Calls{CancelOf("Z:"), CancelOf("Y:")}));
  ExpectNoErrors();
}

TEST_F(MappingTest, ChosenLetterWithoutAVolumeLeavesTheCompanion) {
  // Without a volume there is no companion, not even a share named by the bare prefix.
  Start(Concat(kAlphaVolumeAndCompanion, {{"X:", "\\\\192.0.2.1\\Recycle Bin - "}}));
  ChooseLetter(0);  // "Z: \\192.0.2.1\Volume_1"
  Disconnect();
  EXPECT_EQ(calls(), (Calls{CancelOf("Z:")}));
  ExpectOnlyMessage(kUnmapped, "Confirm", ui::Icon::Information);
  EXPECT_TRUE(drives.IsConnected("Y:"));
  EXPECT_EQ(Letters()[1], "Y: \\\\192.0.2.1\\Recycle Bin - Volume_1");
}

TEST_F(MappingTest, FreeLetterWithoutAVolumeIsAnError) {
  Start();
  ChooseLetter(2);  // X:
  const Texts lettersBefore = Letters();
  Disconnect();
  EXPECT_EQ(calls(), (Calls{CancelOf("X:")}));
  ExpectOnlyMessage(kUnmapFailed, "Error", ui::Icon::Error);
  EXPECT_EQ(Letters(), lettersBefore);
  EXPECT_EQ(CurrentLetter(), 2) << "not refreshed";
}

TEST_F(MappingTest, NothingSelectedAndNoLetterEndsSilently) {
  FixedFrom('Z');
  Start();
  Disconnect();
  EXPECT_TRUE(calls().empty());
  EXPECT_TRUE(ui.messageBoxes().empty());
}

struct CompanionCase {
  const char* name;
  Connections connections;
  Calls expected;
};
void PrintTo(const CompanionCase& c, std::ostream* out) { *out << c.name; }

// A volume without a mapping is an error; a companion of it on this box goes all the same (it is dropped
// before the result is looked at), one on another box stays.
class UnmappedVolume : public MappingTest, public ::testing::WithParamInterface<CompanionCase> {};

TEST_P(UnmappedVolume, IsAnErrorAndOnlyThisBoxsCompanionGoes) {
  const CompanionCase& c = GetParam();
  Start(c.connections);
  host->ClickListRow(IDC_SHARE_LIST, 1);  // usb, not mapped
  const Texts lettersBefore = Letters();
  Disconnect();
  EXPECT_EQ(calls(), c.expected);
  ExpectOnlyMessage(kUnmapFailed, "Error", ui::Icon::Error);
  EXPECT_EQ(Letters(), lettersBefore) << "not refreshed";
  EXPECT_EQ(drives.IsConnected("X:"), c.expected.empty() && !c.connections.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Companions, UnmappedVolume,
    ::testing::Values(
        CompanionCase{"OnThisBox", {{"X:", "\\\\192.0.2.1\\Recycle Bin - usb"}}, {CancelOf("X:")}},
        CompanionCase{"OnThisBoxByItsName", {{"X:", "\\\\ALPHA\\Recycle Bin - usb"}}, {CancelOf("X:")}},
        CompanionCase{"OnAnotherBox", {{"X:", "\\\\198.51.100.9\\Recycle Bin - usb"}}, {}},
        CompanionCase{"None", {}, {}}),
    [](const auto& each) { return std::string(each.param.name); });

// Two boxes with a volume of the same name: the companion removed is the selected box's, wherever the
// other box's lies in the table.
class SameNamedCompanion : public MappingTest, public ::testing::WithParamInterface<CompanionCase> {};

TEST_P(SameNamedCompanion, OfAnotherBoxIsLeftAlone) {
  const CompanionCase& c = GetParam();
  StartWithVolume(c.connections);
  ASSERT_EQ(ShareRows()[0], (Texts{"Volume_1", "X:"}));
  Disconnect();
  EXPECT_EQ(calls(), c.expected);
  EXPECT_TRUE(drives.IsConnected("Y:"));
  ExpectOnlyMessage(kUnmapped, "Confirm", ui::Icon::Information);
  EXPECT_EQ(Letters()[1], "Y: \\\\198.51.100.9\\Recycle Bin - Volume_1");
}

INSTANTIATE_TEST_SUITE_P(
    TwoBoxes, SameNamedCompanion,
    ::testing::Values(
        CompanionCase{"OnlyTheOtherBoxs",
                      {{"X:", "\\\\192.0.2.1\\Volume_1"}, {"Y:", "\\\\198.51.100.9\\Recycle Bin - Volume_1"}},
                      {CancelOf("X:")}},
        CompanionCase{"TheOtherBoxsNearerZ",
                      {{"X:", "\\\\192.0.2.1\\Volume_1"},
                       {"Y:", "\\\\198.51.100.9\\Recycle Bin - Volume_1"},
                       {"W:", "\\\\192.0.2.1\\Recycle Bin - Volume_1"}},
                      {CancelOf("X:"), CancelOf("W:")}}),
    [](const auto& each) { return std::string(each.param.name); });

// The companion's host is that of the removed letter's own mapping, compared ignoring ASCII case; not
// the hosts of the box whose row is selected (the letter's mapping may use the other of them).
class CompanionOfTheLettersHost : public MappingTest, public ::testing::WithParamInterface<CompanionCase> {};

TEST_P(CompanionOfTheLettersHost, IsTheOneDropped) {
  StartWithVolume(GetParam().connections);
  ASSERT_EQ(ShareRows()[0], (Texts{"Volume_1", "Z:"}));
  Disconnect();
  EXPECT_EQ(calls(), GetParam().expected);
  ExpectOnlyMessage(kUnmapped, "Confirm", ui::Icon::Information);
}

INSTANTIATE_TEST_SUITE_P(
    LetterMappedByNameOrAddress, CompanionOfTheLettersHost,
    ::testing::Values(
        CompanionCase{"SameHostInAnotherCase",
                      {{"Z:", "\\\\ALPHA\\Volume_1"},
                       {"X:", "\\\\192.0.2.1\\Recycle Bin - Volume_1"},
                       {"W:", "\\\\alpha\\Recycle Bin - Volume_1"}},
                      {CancelOf("Z:"), CancelOf("W:")}},
        CompanionCase{"TheBoxsOtherHostText",
                      {{"Z:", "\\\\192.0.2.1\\Volume_1"}, {"Y:", "\\\\alpha\\Recycle Bin - Volume_1"}},
                      {CancelOf("Z:")}}),
    [](const auto& each) { return std::string(each.param.name); });

// The share list may belong to another box than the selected device row (a login cancelled on beta
// leaves alpha's shares), or no device row may be in view: the companion goes all the same, by the
// letter's host, or by the hosts the list was filled for when the volume has no letter.
class WithoutTheListsDeviceRow : public MappingTest, public ::testing::WithParamInterface<bool> {};

TEST_P(WithoutTheListsDeviceRow, TheCompanionOfTheListsBoxGoes) {
  Start(Concat(kAlphaVolumeAndCompanion, {{"X:", "\\\\192.0.2.1\\Recycle Bin - usb"},
                                          {"W:", "\\\\198.51.100.9\\Recycle Bin - usb"}}));
  if (GetParam()) {
    host->List(IDC_DEVICE_LIST).SetTopIndex(1);
  } else {
    LoginWith("admin", "", /*ok=*/false);
    host->ClickListRow(IDC_DEVICE_LIST, 1);
  }
  ASSERT_EQ(ShareRows(), (Rows{{"Volume_1", "Z:"}, {"usb", ""}}));
  host->ClickListRow(IDC_SHARE_LIST, 1);  // usb: no letter
  Disconnect();
  host->ClickListRow(IDC_SHARE_LIST, 0);
  Disconnect();
  EXPECT_EQ(calls(), (Calls{CancelOf("X:"), CancelOf("Z:"), CancelOf("Y:")}));
  EXPECT_TRUE(drives.IsConnected("W:"));
  EXPECT_EQ(Messages(), (Texts{kUnmapFailed, kUnmapped}));
  ExpectNoErrors();
}

INSTANTIATE_TEST_SUITE_P(BetasRowOrNone, WithoutTheListsDeviceRow, ::testing::Values(false, true),
                         [](const auto& each) { return each.param ? "NoDeviceRowInView" : "BetasRowSelected"; });

// ---- a double-byte ANSI code page

// The volume's companion is found by the name the box sent, and hosts are compared in their wide form:
// in CP932 "ア" is 83 41 and "ヂ" 83 61, one ASCII letter's case apart in their second byte. A box named
// "ア" (it sends E3 82 A2) has its row shown in CP932 and is matched by the name it sent.
TEST_F(DoubleByteMappingTest, DisconnectsByTheNameTheBoxSentOnTheSameHostOnly) {
  const std::string a = "\xE3\x82\xA2";  // ア
  const std::string di = "\xE3\x83\x82";  // ヂ
  Start({{"Z:", Unc(kAddress, kHyouji)},
         {"Y:", Unc(kAddress, Companion(kHyouji))},
         {"W:", Unc(di, kHyouji)},
         {"V:", Unc(di, Companion(kBackup))},
         {"U:", Unc(a, Companion(kBackup))},
         {"T:", Unc(a, kHyouji)}});
  EXPECT_EQ(Letters()[0], std::string("Z: \\\\192.0.2.1\\") + kHyoujiShown);
  ASSERT_EQ(ShareRows(), (Rows{{kHyoujiShown, "Z:"}, {kBackup, ""}}));
  host->ClickListRow(IDC_SHARE_LIST, 0);
  Disconnect();
  EXPECT_EQ(calls(), (Calls{CancelOf("Z:"), CancelOf("Y:")}));
  ExpectOnlyMessage(kUnmapped, "Confirm", ui::Icon::Information);
  EXPECT_EQ(ShareRows(), (Rows{{kHyoujiShown, ""}, {kBackup, ""}}));

  // The box named "ア": its row shows 83 41; its mapping by name is its own, ヂ's are not.
  networkDrives.ClearCalls();
  SetBoxes({{kAlpha, BoxFields(a, {{kAddress, "255.255.255.0", "192.0.2.254"}})}});
  host->Click(IDC_REFRESH);
  EXPECT_EQ(host->List(IDC_DEVICE_LIST).ItemText(0, 0), "\x83\x41");
  SelectAccepted(0);
  ASSERT_EQ(ShareRows(), (Rows{{kHyoujiShown, "T:"}, {kBackup, ""}}));
  host->ClickListRow(IDC_SHARE_LIST, 1);  // no letter: the companion on a host the list was filled for
  Disconnect();
  EXPECT_EQ(calls(), (Calls{CancelOf("U:")}));
  EXPECT_TRUE(drives.IsConnected("V:"));
}

TEST_F(MappingTest, RefusedDisconnectIsAnErrorAfterTheCompanionWent) {
  StartWithVolume(kAlphaVolumeAndCompanion);
  networkDrives.QueueCancelResult(kOpenFiles);
  const Texts lettersBefore = Letters();
  Disconnect();
  EXPECT_EQ(calls(), (Calls{CancelOf("Z:"), CancelOf("Y:")}));
  ExpectOnlyMessage(kUnmapFailed, "Error", ui::Icon::Error);
  EXPECT_TRUE(drives.IsConnected("Z:"));
  EXPECT_FALSE(drives.IsConnected("Y:"));
  EXPECT_EQ(Letters(), lettersBefore);
  EXPECT_EQ(ShareRows(), (Rows{{"Volume_1", "Z:"}, {"usb", ""}}));
}

// ---- FindDriveForShare over a table

TEST(FindDriveForShare, FirstFromZOfTheShareExactlyOnOneOfTheHosts) {
  platform::FakeDrives drives;
  drives.SetConnection("Z:", "\\\\10.0.0.9\\Recycle Bin - v");
  drives.SetConnection("Y:", "\\\\10.0.0.1\\Recycle Bin - V");
  drives.SetConnection("X:", "\\\\10.0.0.1\\Recycle Bin - v\\sub");
  drives.SetConnection("W:", "\\\\NAS\\Recycle Bin - v");
  drives.SetConnection("V:", "\\\\10.0.0.1\\Recycle Bin - v");
  DriveMapTable table;
  table.RescanDriveMappings(drives);
  const std::vector<std::string_view> box{"nas", "10.0.0.1"};
  const std::vector<std::string_view> addressOnly{"10.0.0.1"};
  const std::vector<std::string_view> other{"10.0.0.9"};
  EXPECT_EQ(FindDriveForShare(table, "Recycle Bin - v", box), "W:") << "host by name, ignoring case";
  EXPECT_EQ(FindDriveForShare(table, "Recycle Bin - v", addressOnly), "V:") << "share compared exactly";
  EXPECT_EQ(FindDriveForShare(table, "Recycle Bin - V", addressOnly), "Y:");
  EXPECT_EQ(FindDriveForShare(table, "Recycle Bin - v", other), "Z:");
  EXPECT_EQ(FindDriveForShare(table, "Recycle Bin - v", {}), "") << "no host, no match";
  EXPECT_EQ(FindDriveForShare(table, "Recycle Bin - w", box), "");
}

}  // namespace
}  // namespace quorvel::testkit
