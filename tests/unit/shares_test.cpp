// The drive map table: how a rescan reads the platform's connections, what the drive-letter box
// lists and selects, and which letter the search for a free one returns.
#include "shares/drive_map_table.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "framework/headless/headless_combo_box.h"
#include "platform/fake/fake_drives.h"
#include "platform/fake/latin1_text_codec.h"

namespace quorvel {
namespace {

using platform::FakeDrives;

std::string Drive(char letter) { return std::string{letter, ':'}; }

int RowOf(char letter) { return 'Z' - letter; }

// Gives every letter from `from` down to `to` the same drive type.
void SetTypes(FakeDrives& drives, char from, char to, unsigned type) {
  for (char letter = from; letter >= to; --letter) drives.SetDriveType(Drive(letter), type);
}

class DriveMapTableTest : public ::testing::Test {
 protected:
  void Rescan() { table.RescanDriveMappings(drives); }
  void Fill() { table.FillDriveLetterBox(box, drives, text); }
  const DriveMapEntry& Row(char letter) const { return table.rows()[RowOf(letter)]; }

  FakeDrives drives;
  platform::Latin1TextCodec text;
  DriveMapTable table;
  ui::HeadlessControlState boxState;
  ui::HeadlessFocus focus;
  ui::HeadlessComboBox box{boxState, focus};
};

// --- Rows and the rescan ----------------------------------------------------------------------

TEST_F(DriveMapTableTest, RowsRunFromZDownToAWithTheirDriveTexts) {
  ASSERT_EQ(table.rows().size(), 26u);
  for (int row = 0; row < kDriveRowCount; ++row) {
    EXPECT_EQ(table.rows()[row].drive, Drive(static_cast<char>('Z' - row))) << "row " << row;
  }
  EXPECT_EQ(table.rows().front().drive, "Z:");
  EXPECT_EQ(table.rows().back().drive, "A:");
}

TEST_F(DriveMapTableTest, NoRowIsMappedBeforeTheFirstRescan) {
  drives.SetConnection("Z:", "\\\\nas\\public");
  for (int row = 0; row < kDriveRowCount; ++row) EXPECT_FALSE(table.IsMapped(row));
  EXPECT_TRUE(drives.connectionQueries().empty());
}

TEST_F(DriveMapTableTest, RescanAsksForEveryLetterOnceInTableOrder) {
  Rescan();
  std::vector<std::string> expected;
  for (char letter = 'Z'; letter >= 'A'; --letter) expected.push_back(Drive(letter));
  EXPECT_EQ(drives.connectionQueries(), expected);
}

TEST_F(DriveMapTableTest, ShareConnectionSplitsIntoHostAndShare) {
  drives.SetConnection("M:", "\\\\198.51.100.20\\public");
  Rescan();
  EXPECT_EQ(Row('M').host, "198.51.100.20");
  EXPECT_EQ(Row('M').share, "public");
  EXPECT_TRUE(table.IsMapped(RowOf('M')));
  EXPECT_FALSE(table.IsMapped(RowOf('N')));
  EXPECT_FALSE(table.IsMapped(RowOf('L')));
}

TEST_F(DriveMapTableTest, SubFolderStaysWithTheShare) {
  drives.SetConnection("K:", "\\\\storage\\media\\films\\2020");
  Rescan();
  EXPECT_EQ(Row('K').host, "storage");
  EXPECT_EQ(Row('K').share, "media\\films\\2020");
  EXPECT_TRUE(table.IsMapped(RowOf('K')));
}

TEST_F(DriveMapTableTest, FailedConnectionLeavesTheRowEmpty) {
  drives.SetConnection("Z:", "\\\\nas\\public");
  Rescan();
  ASSERT_TRUE(table.IsMapped(0));
  drives.RemoveConnection("Z:");  // the connection is gone or currently unavailable
  Rescan();
  EXPECT_TRUE(Row('Z').host.empty());
  EXPECT_TRUE(Row('Z').share.empty());
  EXPECT_FALSE(table.IsMapped(0));
}

std::string Repeated(std::string_view text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

// The companion of a volume of 255 bytes fits whole; a longer text ends at the last whole character.
TEST_F(DriveMapTableTest, TextsLongerThanTheirFieldsAreCutToTheFieldBetweenCharacters) {
  const std::string cjk81 = Repeated("\xE5\x90\x8D", 81);  // 243 bytes
  const std::string cjk255 = Repeated("\xE5\x90\x8D", 85);
  const struct {
    std::string host, share, expectedHost, expectedShare;
  } cases[] = {
      {"nas", "Recycle Bin - " + cjk81, "nas", "Recycle Bin - " + cjk81},
      {"nas", "Recycle Bin - " + cjk255, "nas", "Recycle Bin - " + cjk255},
      {std::string(300, 'h'), std::string(300, 's'), std::string(255, 'h'), std::string(269, 's')},
      {Repeated("\xC3\xA9", 150), Repeated("\xE5\x90\x8D", 100), Repeated("\xC3\xA9", 127),
       Repeated("\xE5\x90\x8D", 89)},
  };
  for (const auto& c : cases) {
    drives.SetConnection("P:", "\\\\" + c.host + "\\" + c.share);
    Rescan();
    EXPECT_EQ(Row('P').host, c.expectedHost);
    EXPECT_EQ(Row('P').share, c.expectedShare);
  }
}

TEST_F(DriveMapTableTest, IsMappedIsFalseOutsideTheTable) {
  SetTypes(drives, 'Z', 'A', platform::kDriveRemote);
  for (char letter = 'Z'; letter >= 'A'; --letter) drives.SetConnection(Drive(letter), "\\\\a\\b");
  Rescan();
  EXPECT_TRUE(table.IsMapped(0));
  EXPECT_TRUE(table.IsMapped(25));
  EXPECT_FALSE(table.IsMapped(-1));
  EXPECT_FALSE(table.IsMapped(26));
}

// A remote name that is not "\\server\share..." gives a row with neither host nor share, even
// when the same letter held a good connection at the previous rescan.
class MalformedRemoteNameTest : public DriveMapTableTest,
                                public ::testing::WithParamInterface<const char*> {};

TEST_P(MalformedRemoteNameTest, LeavesHostAndShareEmptyInsteadOfThePreviousScan) {
  drives.SetConnection("R:", "\\\\oldbox\\oldshare");
  Rescan();
  ASSERT_TRUE(table.IsMapped(RowOf('R')));

  drives.SetConnection("R:", GetParam());
  Rescan();
  EXPECT_EQ(Row('R').host, "");
  EXPECT_EQ(Row('R').share, "");
  EXPECT_EQ(Row('R').drive, "R:");
  EXPECT_FALSE(table.IsMapped(RowOf('R')));
}

INSTANTIATE_TEST_SUITE_P(DriveMapTable, MalformedRemoteNameTest,
                         ::testing::Values("\\\\newbox",   // no backslash after the server
                                           "\\\\",         // nothing after the two backslashes
                                           "\\",           // shorter than two characters
                                           "",             //
                                           "\\newbox\\x",  // one leading backslash only
                                           "newbox\\share\\x"));

TEST_F(DriveMapTableTest, EmptyServerOrShareIsNotAMapping) {
  drives.SetConnection("Y:", "\\\\nas\\");    // no share after the backslash
  drives.SetConnection("X:", "\\\\\\share");  // the first backslash at position 2
  Rescan();
  EXPECT_EQ(Row('Y').host, "nas");
  EXPECT_EQ(Row('Y').share, "");
  EXPECT_FALSE(table.IsMapped(RowOf('Y')));
  EXPECT_EQ(Row('X').host, "");
  EXPECT_EQ(Row('X').share, "share");
  EXPECT_FALSE(table.IsMapped(RowOf('X')));
}

// --- The drive-letter box ---------------------------------------------------------------------

TEST_F(DriveMapTableTest, EveryLetterMappedOrLocalLeavesTheBoxWithoutSelection) {
  SetTypes(drives, 'Z', 'C', platform::kDriveFixed);
  drives.SetDriveType("E:", platform::kDriveRemovable);
  for (char letter : {'Z', 'Q', 'F'}) {
    drives.SetDriveType(Drive(letter), platform::kDriveRemote);
    drives.SetConnection(Drive(letter), std::string("\\\\nas\\vol") + letter);
  }
  Rescan();
  box.AddString("stale");
  box.SetCurSel(0);
  Fill();
  EXPECT_EQ(box.items(),
            (std::vector<std::string>{"Z: \\\\nas\\volZ", "Q: \\\\nas\\volQ", "F: \\\\nas\\volF"}));
  EXPECT_EQ(box.CurSel(), -1);
  EXPECT_FALSE(table.FindFreeDriveLetter("", drives).has_value());
}

TEST_F(DriveMapTableTest, UnavailableConnectionIsListedAndChosenAsFree) {
  SetTypes(drives, 'X', 'C', platform::kDriveFixed);
  drives.SetDriveType("Z:", platform::kDriveRemote);
  drives.SetConnection("Z:", "\\\\nas\\public");
  drives.SetDriveType("Y:", platform::kDriveRemote);  // remembered, but the call does not succeed
  Rescan();
  Fill();
  EXPECT_EQ(box.items(), (std::vector<std::string>{"Z: \\\\nas\\public", "Y:"}));
  EXPECT_EQ(box.CurSel(), 1);
  EXPECT_EQ(table.FindFreeDriveLetter("Z:", drives), "Y:");
}

TEST_F(DriveMapTableTest, AAndBNeverAppearWhateverTheyAre) {
  SetTypes(drives, 'Z', 'C', platform::kDriveFixed);
  drives.SetDriveType("B:", platform::kDriveRemote);
  drives.SetConnection("B:", "\\\\nas\\backup");
  // A: is not scripted: no root directory, not connected, so it would pass every other check.
  Rescan();
  ASSERT_TRUE(table.IsMapped(RowOf('B')));
  Fill();
  EXPECT_EQ(box.Count(), 0);
  EXPECT_EQ(box.CurSel(), -1);
  EXPECT_FALSE(table.FindFreeDriveLetter("Z:", drives).has_value());
}

TEST_F(DriveMapTableTest, ListsUsableLettersInTableOrderAndSelectsTheFirstFree) {
  SetTypes(drives, 'Z', 'A', platform::kDriveFixed);
  for (char letter : {'W', 'V', 'U', 'T'}) drives.SetDriveType(Drive(letter), platform::kDriveRemote);
  drives.SetConnection("W:", "\\\\nas\\a");
  drives.SetConnection("V:", "\\\\nas\\b");
  Rescan();
  Fill();
  EXPECT_EQ(box.items(),
            (std::vector<std::string>{"W: \\\\nas\\a", "V: \\\\nas\\b", "U:", "T:"}));
  EXPECT_EQ(box.CurSel(), 2);
}

struct TypeCase {
  unsigned type;
  bool listed;
};

class DriveTypeTest : public DriveMapTableTest, public ::testing::WithParamInterface<TypeCase> {};

TEST_P(DriveTypeTest, OnlyLocalDisksCdRomAndRamDiskAreLeftOut) {
  SetTypes(drives, 'Z', 'A', platform::kDriveFixed);
  drives.SetDriveType("G:", GetParam().type);
  Rescan();
  Fill();
  EXPECT_EQ(box.Count(), GetParam().listed ? 1 : 0);
  EXPECT_EQ(table.FindFreeDriveLetter("", drives).has_value(), GetParam().listed);
}

INSTANTIATE_TEST_SUITE_P(DriveMapTable, DriveTypeTest,
                         ::testing::Values(TypeCase{platform::kDriveUnknown, true},
                                           TypeCase{platform::kDriveNoRootDir, true},
                                           TypeCase{platform::kDriveRemovable, false},
                                           TypeCase{platform::kDriveFixed, false},
                                           TypeCase{platform::kDriveRemote, true},
                                           TypeCase{platform::kDriveCdRom, false},
                                           TypeCase{platform::kDriveRamDisk, false}));

// --- Item texts -------------------------------------------------------------------------------

TEST(DriveLetterItemTest, MappedFormIsDriveBlankTwoBackslashesHostBackslashShare) {
  DriveMapEntry entry;
  entry.drive = "M:";
  entry.host = "198.51.100.20";
  entry.share = "media\\films";
  EXPECT_EQ(MappedForm(entry), "M: \\\\198.51.100.20\\media\\films");
  EXPECT_EQ(DriveLetterItem(entry), MappedForm(entry));
  entry.share.clear();
  EXPECT_EQ(DriveLetterItem(entry), "M:");
}

TEST_F(DriveMapTableTest, EveryItemStartsWithItsDriveTextAndOnlyMappedOnesHoldColonBlank) {
  // Mapped and free letters alternate, Z: mapped.
  for (char letter = 'Z'; letter >= 'C'; letter -= 2) {
    drives.SetConnection(Drive(letter), std::string("\\\\host\\share ") + letter);
  }
  Rescan();
  Fill();
  ASSERT_EQ(box.Count(), 24);
  for (int i = 0; i < box.Count(); ++i) {
    const DriveMapEntry& entry = table.rows()[i];
    const std::string item = box.ItemText(i);
    EXPECT_EQ(item.substr(0, 2), entry.drive.view()) << item;
    EXPECT_EQ(item.find(": ") != std::string::npos, entry.IsMapped()) << item;
  }
  EXPECT_EQ(box.CurSel(), 1);
  EXPECT_EQ(box.ItemText(box.CurSel()), "Y:");
}

// --- The search for a free letter -------------------------------------------------------------

TEST_F(DriveMapTableTest, FreeLetterSkipsTheAvoidedLetter) {
  Rescan();
  EXPECT_EQ(table.FindFreeDriveLetter("Z:", drives), "Y:");
  EXPECT_EQ(table.FindFreeDriveLetter("Q:", drives), "Z:");
  EXPECT_EQ(table.FindFreeDriveLetter("", drives), "Z:");
}

TEST_F(DriveMapTableTest, FreeLetterComparesOnlyTheFirstCharacterOfTheAvoidedText) {
  drives.SetConnection("Z:", "\\\\nas\\old");
  Rescan();
  // The chosen box item may be in the mapped form.
  EXPECT_EQ(table.FindFreeDriveLetter("Y: \\\\nas\\other", drives), "X:");
  EXPECT_EQ(table.FindFreeDriveLetter("Z: \\\\nas\\old", drives), "Y:");
}

TEST_F(DriveMapTableTest, FreeLetterSkipsMappedAndExcludedRows) {
  drives.SetConnection("Z:", "\\\\nas\\a");
  drives.SetDriveType("Y:", platform::kDriveFixed);
  drives.SetDriveType("X:", platform::kDriveCdRom);
  drives.SetDriveType("W:", platform::kDriveRamDisk);
  drives.SetDriveType("V:", platform::kDriveRemovable);
  Rescan();
  EXPECT_EQ(table.FindFreeDriveLetter("Z:", drives), "U:");
  EXPECT_EQ(table.FindFreeDriveLetter("U:", drives), "T:");
}

TEST_F(DriveMapTableTest, NoFreeLetterWhenTheAvoidedOneIsTheOnlyFree) {
  SetTypes(drives, 'Y', 'A', platform::kDriveFixed);
  Rescan();
  EXPECT_FALSE(table.FindFreeDriveLetter("Z:", drives).has_value());
  EXPECT_EQ(table.FindFreeDriveLetter("Y:", drives), "Z:");
}

TEST_F(DriveMapTableTest, FreeLetterFollowsTheLastRescanNotThePlatform) {
  Rescan();
  drives.SetConnection("Z:", "\\\\nas\\new");  // mapped outside the program
  EXPECT_EQ(table.FindFreeDriveLetter("", drives), "Z:");
  Rescan();
  EXPECT_EQ(table.FindFreeDriveLetter("", drives), "Y:");
}

}  // namespace
}  // namespace quorvel
