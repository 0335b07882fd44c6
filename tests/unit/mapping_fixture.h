// The main window with two scripted boxes, the drive fakes and the connection fake, for the tests of
// mapping a share to a drive letter and removing a mapping; the paths, texts and calls they expect.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "iconv_text_codec.h"
#include "panel_fixture.h"
#include "platform/fake/fake_network_drives.h"

namespace quorvel::testkit {

using platform::NetworkCall;
using platform::OsVersion;
using Calls = std::vector<NetworkCall>;
using Rows = std::vector<std::vector<std::string>>;
using Texts = std::vector<std::string>;
using Text = std::optional<std::string>;
using Connections = std::vector<std::pair<std::string, std::string>>;

inline constexpr const char* kAddress = "192.0.2.1";
inline constexpr const char* kMainPath = "\\\\192.0.2.1\\Volume_1";
inline constexpr const char* kCompanionPath = "\\\\192.0.2.1\\Recycle Bin - Volume_1";
inline constexpr const char* kMapped = "Successfully mapped drive.";
inline constexpr const char* kMapFailed = "Failed to map drive.";
inline constexpr const char* kSelectDevice = "Please select a device in the above section.";
inline constexpr const char* kUnmapped = "Successfully unmapped drive.";
inline constexpr const char* kUnmapFailed =
    "Unable to disconnect this drive.\nPlease select a drive to disconnect and verify that the drive is not being "
    "accessed.";

inline constexpr std::uint32_t kProfile = platform::kConnectUpdateProfile;
inline constexpr std::uint32_t kInteractive = 9;  // update the profile, and the system may ask for credentials
inline constexpr std::uint32_t kRefused = platform::kErrorAccessDenied;
inline constexpr std::uint32_t kOpenFiles = 2401;  // ERROR_OPEN_FILES

inline const Text kNull;
inline const Text kEmpty = std::string();

inline const OsVersion kNt351{2, 3, 51, 1057};
inline const OsVersion kNt4{2, 4, 0, 1381};
inline const OsVersion k98{1, 4, 10, 1998};
inline const OsVersion kXp{2, 5, 1, 2600};
inline const OsVersion kServer2003{2, 5, 2, 3790};  // not named: "unknown Windows version"
inline const OsVersion kSeven{2, 6, 1, 7601};       // "Vista"

inline NetworkCall CancelOf(const std::string& drive) { return NetworkCall::Cancel(drive, kProfile, true); }
inline NetworkCall MainAdd(Text password, Text user, std::uint32_t flags) {
  return NetworkCall::Add("Z:", kMainPath, std::move(password), std::move(user), flags);
}
inline NetworkCall CompanionAdd(Text password, Text user, std::uint32_t flags) {
  return NetworkCall::Add("Y:", kCompanionPath, std::move(password), std::move(user), flags);
}
inline Calls Repeat(const NetworkCall& call, int times) { return Calls(static_cast<std::size_t>(times), call); }

template <class T>
std::vector<T> Concat(std::vector<T> head, const std::vector<T>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

// The drive-letter box's items for the free letters from `from` down to C:.
inline Texts FreeLetters(char from) {
  Texts items;
  for (char letter = from; letter >= 'C'; --letter) items.push_back(std::string{letter, ':'});
  return items;
}

class MappingTest : public PanelTest {
 protected:
  // alpha is the box the tests work on (remembered as admin / secret); beta is another box.
  void Start(const Connections& connections = {}) {
    for (const auto& [drive, remote] : connections) drives.SetConnection(drive, remote);
    SetBoxes({{kAlpha, BoxFields("alpha", {{kAddress, "255.255.255.0", "192.0.2.254"}})},
              {kBeta, BoxFields("beta", {{"198.51.100.9", "255.255.255.0", "198.51.100.1"}})}});
    Open();
    SelectAccepted(0);
  }
  void StartWithVolume(const Connections& connections = {}) {
    Start(connections);
    host->ClickListRow(IDC_SHARE_LIST, 0);  // Volume_1
  }

  void Connect() { host->Click(IDC_CONNECT); }
  void Disconnect() { host->Click(IDC_DISCONNECT); }
  void ChooseLetter(int item) { host->SelectComboItem(IDC_DRIVE_LETTER, item); }
  void AnswerMountMessage(const ui::HeadlessUi::Script& answer) { ui.OnModal(IDD_MOUNT_MESSAGE, answer); }
  // Every letter from `from` down to C: a local disk.
  void FixedFrom(char from) {
    for (char letter = from; letter >= 'C'; --letter) {
      drives.SetDriveType(std::string{letter, ':'}, platform::kDriveFixed);
    }
  }

  const Calls& calls() const { return networkDrives.calls(); }
  Texts Letters() { return host->Combo(IDC_DRIVE_LETTER).items(); }
  int CurrentLetter() { return host->Combo(IDC_DRIVE_LETTER).CurSel(); }
  void ExpectOnlyMessage(const std::string& message, const std::string& caption, ui::Icon icon) {
    ASSERT_EQ(ui.messageBoxes().size(), 1u) << ::testing::PrintToString(Messages());
    EXPECT_EQ(ui.messageBoxes()[0].text, message);
    EXPECT_EQ(ui.messageBoxes()[0].caption, caption);
    EXPECT_EQ(ui.messageBoxes()[0].icon, icon);
    EXPECT_EQ(ui.messageBoxes()[0].ownerTemplateId, IDD_MAIN);
  }
  void ExpectNoErrors() {
    for (const std::string& error : ui.errors()) ADD_FAILURE() << error;
  }
};

// The PC's ANSI code page is CP932 and alpha offers volumes that it must carry in double bytes or that
// hold two dots. Their UTF-8 names, and what the lists show: "表示" is 95 5C 8E A6 in CP932.
inline constexpr const char* kHyouji = "\xE8\xA1\xA8\xE7\xA4\xBA";
inline constexpr const char* kHyoujiShown = "\x95\x5C\x8E\xA6";
inline constexpr const char* kBackup = "Backup..2024";

class DoubleByteMappingTest : public MappingTest {
 protected:
  DoubleByteMappingTest() {
    text.Use(cp932);
    shareNames = std::string(kHyouji) + ":Recycle Bin - " + kHyouji + ":" + kBackup;
  }
  static std::string Unc(const std::string& host, const std::string& share) { return "\\\\" + host + "\\" + share; }
  static std::string Companion(const std::string& volume) { return "Recycle Bin - " + volume; }

  IconvTextCodec cp932{"CP932"};
};

}  // namespace quorvel::testkit
