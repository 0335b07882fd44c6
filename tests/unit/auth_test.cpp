// Administrator authentication: the login dialog, the two check sequences against a box on the fake
// transport, the Windows version name and the key text read back into id bytes.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fake_transport.h"
#include "framework/headless/headless_ui.h"
#include "platform/fake/fake_os_info.h"
#include "res/resource.h"
#include "services/authenticator.h"
#include "services/device_key.h"
#include "services/login.h"
#include "services/windows_version.h"

namespace quorvel {
namespace {

using platform::OsVersion;
using testkit::ByteVector;
using testkit::Datagram;

const DeviceId kBox = testkit::MakeDeviceId(7);
const OsVersion kXp{2, 5, 1, 2600};
const OsVersion kMe{1, 4, 90, 0x045A0BB8};
const OsVersion k98Se{1, 4, 10, 0x040A08AE};  // 4.10.2222

// One 64-byte slot of a request's credential block: the text up to the first NUL, and whether
// everything after it is NUL.
struct Slot {
  std::string text;
  bool zeroPadded = true;
};
Slot CredentialSlot(const ByteVector& request, int which) {
  Slot slot;
  const std::size_t start = HEADER_SIZE + which * AUTH_SLOT_SIZE;
  std::size_t at = start;
  for (; at < start + AUTH_SLOT_SIZE && request[at] != std::byte{0}; ++at) {
    slot.text += static_cast<char>(request[at]);
  }
  for (; at < start + AUTH_SLOT_SIZE; ++at) slot.zeroPadded &= request[at] == std::byte{0};
  return slot;
}

class Dummy : public ui::Dialog {
 public:
  Dummy() : ui::Dialog(IDD_MAIN) {}
};

class Auth : public ::testing::Test {
 protected:
  Auth() {
    // The box answers a password check with 1 when both slots hold its credentials, else 0; it leaves
    // the first `silent` checks unanswered.
    rig.transport->SetBox(0, testkit::SearchAnswers({{kBox, {{FLD_MODEL, "VRX-510L"}}}}, [this](const ByteVector& r) {
      if (testkit::OpcodeOf(r) != OP_CHECK_PASSWORD) return std::vector<Datagram>{};
      checks.push_back(r);
      if (onCheck) onCheck();
      if (silent > 0) {
        --silent;
        return std::vector<Datagram>{};
      }
      const bool match = CredentialSlot(r, 0).text == Base64Encode(boxUser) &&
                         CredentialSlot(r, 1).text == Base64Encode(boxPassword);
      return std::vector<Datagram>{{testkit::ReplyBuilder(r).Device(kBox).Status(match ? 1 : 0).Build(), 5'000}};
    }));
    rig.protocol.SearchDevices();
    EXPECT_TRUE(rig.protocol.IsKnownDevice(kBox));
    table.Insert(key);
    rig.protocol.context().SelectedDeviceId = testkit::MakeDeviceId(1);
    os.version = kXp;
  }

  // The user's answer to the next login dialog.
  void LoginTyping(std::string user, std::string password, int button = ui::IDOK) {
    ui.OnModal(IDD_LOGIN, [=](ui::HeadlessHost& h) {
      if (h.Item(IDC_LOGIN_USER_NAME).IsEnabled()) h.Type(IDC_LOGIN_USER_NAME, user);
      h.Type(IDC_LOGIN_PASSWORD, password);
      h.Click(button);
    });
  }
  CommandContext& context() { return rig.protocol.context(); }
  const AuthEntry& entry() { return *table.Find(key); }

  testkit::Rig rig{{"198.51.100.20"}};
  std::vector<ByteVector> checks;
  std::string boxUser = "admin", boxPassword = "secret";
  int silent = 0;
  std::function<void()> onCheck;  // as the user acting while a check is out
  AuthTable table;
  platform::FakeOsInfo os;
  Authenticator auth{rig.protocol, table, os};
  ui::HeadlessUi ui;
  Dummy mainWindow;
  ui::HeadlessHost& owner = ui.Open(mainWindow);
  const std::string key = DeviceKeyText(kBox);
};

// ---- the login dialog

struct InitCase {
  const char* name;
  int mode;
  std::optional<OsVersion> version;
  const char* user;
  bool editable;
};

class LoginInit : public Auth, public ::testing::WithParamInterface<InitCase> {};

TEST_P(LoginInit, UserNameFieldFollowsTheModeAndTheWindowsNamePasswordAlwaysEmpty) {
  os.version = GetParam().version;
  os.userName = "carol";
  ui.DefineTemplate(IDD_LOGIN, [](ui::HeadlessHost& h) {
    h.Item(IDC_LOGIN_USER_NAME).SetText("stale");
    h.Item(IDC_LOGIN_PASSWORD).SetText("stale");
  });
  login dialog(context(), os, GetParam().mode);
  ui::HeadlessHost& h = ui.Open(dialog);
  EXPECT_EQ(h.Item(IDC_LOGIN_USER_NAME).Text(), GetParam().user);
  EXPECT_EQ(h.Item(IDC_LOGIN_USER_NAME).IsEnabled(), GetParam().editable);
  EXPECT_EQ(h.Item(IDC_LOGIN_PASSWORD).Text(), "");
  EXPECT_TRUE(h.Item(IDC_LOGIN_PASSWORD).IsEnabled());
  EXPECT_EQ(h.Type(IDC_LOGIN_USER_NAME, "x"), GetParam().editable ? 1 : 0);
  EXPECT_EQ(ui.errors().empty(), GetParam().editable) << "typing into a disabled field is refused";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoginInit,
    ::testing::Values(InitCase{"XpMode0", 0, kXp, "", true},
                      InitCase{"VistaMode0", 0, OsVersion{2, 6, 1, 7601}, "", true},
                      InitCase{"Windows95Mode0", 0, OsVersion{1, 4, 0, 950}, "", true},
                      InitCase{"UnknownVersionMode0", 0, std::nullopt, "", true},
                      InitCase{"MeMode0", 0, kMe, "carol", false},
                      InitCase{"Windows98SeMode0", 0, k98Se, "carol", false},
                      InitCase{"Windows98Mode0", 0, OsVersion{1, 4, 10, 1998}, "carol", false},
                      InitCase{"XpMode1", 1, kXp, "admin", false}, InitCase{"MeMode1", 1, kMe, "admin", false},
                      InitCase{"Windows98SeMode1", 1, k98Se, "admin", false},
                      InitCase{"XpMode2", 2, kXp, "", true}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(Auth, LoginFieldsRefuseASeventeenthCharacterAndOkCopiesThem) {
  login dialog(context(), os, 0);
  ui::HeadlessHost& h = ui.Open(dialog);
  for (int field : {IDC_LOGIN_USER_NAME, IDC_LOGIN_PASSWORD}) {
    EXPECT_EQ(h.Type(field, "0123456789abcdefXYZ"), 16);
    EXPECT_EQ(h.Item(field).Text(), "0123456789abcdef");
    EXPECT_EQ(h.Type(field, "g"), 0);
  }
  h.Click(ui::IDOK);
  EXPECT_EQ(h.result(), ui::IDOK);
  EXPECT_EQ(context().UserName, "0123456789abcdef");
  EXPECT_EQ(context().Password, "0123456789abcdef");
}

TEST_F(Auth, LoginOkRefusesAFieldLongerThanSixteenAndCancelWritesNothing) {
  os.version = kMe;
  os.userName = "a-windows-user-name-of-24";  // the system's name is put in as it is
  context().UserName = "before";
  context().Password = "before";
  login dialog(context(), os, 0);
  ui::HeadlessHost& h = ui.Open(dialog);
  h.Type(IDC_LOGIN_PASSWORD, "pw");
  h.Click(ui::IDOK);
  EXPECT_TRUE(h.isOpen());
  ASSERT_EQ(ui.messageBoxes().size(), 1u);
  EXPECT_EQ(ui.messageBoxes()[0].text, "Please enter no more than 16 characters.");
  EXPECT_EQ(context().UserName, "before");
  h.Click(ui::IDCANCEL);
  EXPECT_EQ(h.result(), ui::IDCANCEL);
  EXPECT_EQ(context().UserName, "before");
  EXPECT_EQ(context().Password, "before");
}

// ---- the device-selection login

struct LoginCase {
  const char* name;
  const char* password;
  int silent;
  bool accepted;
  std::size_t checks;
  bool closeDuringCheck = false;  // Escape on the owner while the first check is out
};

class LoginForDevice : public Auth, public ::testing::WithParamInterface<LoginCase> {};

// Caught: an accepted login thrown away because a close was recorded while the check ran.
TEST_P(LoginForDevice, ChecksOnceMoreAtOnceBeforeReportingAWrongPassword) {
  const LoginCase& c = GetParam();
  silent = c.silent;
  if (c.closeDuringCheck) onCheck = [this] { owner.PressEscape(); };
  LoginTyping("admin", c.password);
  EXPECT_EQ(auth.LoginForDevice(owner, key), c.accepted && !c.closeDuringCheck) << "goes on to the shares";
  EXPECT_EQ(owner.Closing(), c.closeDuringCheck);
  EXPECT_EQ(context().SelectedDeviceId, kBox);
  ASSERT_EQ(checks.size(), c.checks);
  for (const ByteVector& check : checks) {
    EXPECT_EQ(CredentialSlot(check, 0).text, Base64Encode("admin"));
    EXPECT_EQ(CredentialSlot(check, 1).text, Base64Encode(c.password));
  }
  EXPECT_EQ(ui.modalRuns().size(), 1u) << "the user is not asked again";
  EXPECT_EQ(auth.IsAuthenticated(key), c.accepted);
  EXPECT_EQ(entry().userName, c.accepted ? "admin" : "");
  EXPECT_EQ(entry().password, c.accepted ? c.password : "");
  if (c.accepted || c.closeDuringCheck) {
    EXPECT_TRUE(ui.messageBoxes().empty());
  } else {
    ASSERT_EQ(ui.messageBoxes().size(), 1u);
    EXPECT_EQ(ui.messageBoxes()[0].text, "Wrong administrator password input!");
    EXPECT_EQ(ui.messageBoxes()[0].caption, "Error");
    EXPECT_EQ(ui.messageBoxes()[0].icon, ui::Icon::Error);
    EXPECT_EQ(ui.messageBoxes()[0].ownerTemplateId, IDD_MAIN);
  }
  EXPECT_TRUE(ui.errors().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, LoginForDevice,
                         ::testing::Values(LoginCase{"Accepted", "secret", 0, true, 1},
                                           LoginCase{"AcceptedWhenTheFirstCheckGoesUnanswered", "secret", 1, true, 2},
                                           LoginCase{"Refused", "wrong", 0, false, 2},
                                           LoginCase{"NoAnswer", "secret", 2, false, 2},
                                           LoginCase{"AcceptedWhileACloseWasRecorded", "secret", 0, true, 1, true},
                                           LoginCase{"RefusedWhileACloseWasRecorded", "wrong", 0, false, 1, true}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(Auth, CancelledLoginSendsNothingAndSaysNothing) {
  context().UserName = "kept";
  LoginTyping("admin", "secret", ui::IDCANCEL);
  EXPECT_FALSE(auth.LoginForDevice(owner, key));
  EXPECT_TRUE(checks.empty());
  EXPECT_TRUE(ui.messageBoxes().empty());
  EXPECT_EQ(context().UserName, "kept");
  EXPECT_FALSE(auth.IsAuthenticated(key));
}

TEST_F(Auth, KeyAbsentOrUnreadableEndsAtOnceLeavingTheSelectedBoxAlone) {
  table.Insert("0x00,0x11,0x22");  // in the table, but no 8 bytes
  for (const std::string& bad : {DeviceKeyText(testkit::MakeDeviceId(9)), std::string("0x00,0x11,0x22")}) {
    EXPECT_FALSE(auth.LoginForDevice(owner, bad)) << bad;
  }
  EXPECT_EQ(context().SelectedDeviceId, testkit::MakeDeviceId(1));
  EXPECT_TRUE(ui.modalRuns().empty());
  EXPECT_TRUE(checks.empty());
  EXPECT_TRUE(ui.messageBoxes().empty());
}

TEST_F(Auth, AdminLoginModeFixesTheUserNameOfTheLogin) {
  auth.AdminLoginMode = 1;
  LoginTyping("ignored", "secret");
  EXPECT_TRUE(auth.LoginForDevice(owner, key));
  EXPECT_EQ(entry().userName, "admin");
}

TEST_F(Auth, RestoreCredentialsPutsTheAcceptedOnesBackUntilTheTableIsRebuilt) {
  LoginTyping("admin", "secret");
  ASSERT_TRUE(auth.LoginForDevice(owner, key));
  context().UserName = "";
  context().Password = "";
  auth.RestoreCredentials(DeviceKeyText(testkit::MakeDeviceId(9)));  // no such entry: nothing changes
  EXPECT_EQ(context().UserName, "");
  auth.RestoreCredentials(key);
  EXPECT_EQ(context().UserName, "admin");
  EXPECT_EQ(context().Password, "secret");

  table.Clear();
  table.Insert(key);
  EXPECT_FALSE(auth.IsAuthenticated(key));
  auth.RestoreCredentials(key);
  EXPECT_EQ(context().UserName, "");
  EXPECT_EQ(context().Password, "");
}

// ---- the administrator check with fallback

TEST_F(Auth, AdminCheckPassesWithAdminAndNoPasswordWithoutAnyDialog) {
  boxPassword = "";
  context().SelectedDeviceId = kBox;
  context().Password = "left over";
  EXPECT_TRUE(auth.AdminCheckWithFallback(owner));
  ASSERT_EQ(checks.size(), 1u);
  EXPECT_EQ(CredentialSlot(checks[0], 0).text, "YWRtaW4=");
  EXPECT_TRUE(CredentialSlot(checks[0], 0).zeroPadded);
  EXPECT_EQ(CredentialSlot(checks[0], 1).text, "");
  EXPECT_TRUE(CredentialSlot(checks[0], 1).zeroPadded);
  EXPECT_TRUE(ui.modalRuns().empty());
  EXPECT_TRUE(ui.messageBoxes().empty());
  EXPECT_FALSE(auth.IsAuthenticated(key)) << "the table is not touched";
}

struct FallbackCase {
  const char* name;
  int button;
  const char* password;
  bool accepted;
  const char* secondPassword;  // what the second check carries
};

class AdminFallback : public Auth, public ::testing::WithParamInterface<FallbackCase> {};

TEST_P(AdminFallback, ShowsTheDialogAfterARefusalAndChecksOnceMore) {
  const FallbackCase& c = GetParam();
  context().SelectedDeviceId = kBox;
  LoginTyping("admin", c.password, c.button);
  EXPECT_EQ(auth.AdminCheckWithFallback(owner), c.accepted);
  ASSERT_EQ(checks.size(), 2u);
  EXPECT_EQ(CredentialSlot(checks[0], 1).text, "");
  EXPECT_EQ(CredentialSlot(checks[1], 0).text, Base64Encode("admin"));
  EXPECT_EQ(CredentialSlot(checks[1], 1).text, Base64Encode(c.secondPassword));
  EXPECT_EQ(ui.modalRuns().size(), 1u);
  EXPECT_EQ(ui.messageBoxes().size(), c.accepted ? 0u : 1u);
  if (!c.accepted) {
    EXPECT_EQ(ui.messageBoxes()[0].caption, "Error");
  }
  EXPECT_FALSE(auth.IsAuthenticated(key)) << "the table is not touched";
}

INSTANTIATE_TEST_SUITE_P(Cases, AdminFallback,
                         ::testing::Values(FallbackCase{"RightPassword", ui::IDOK, "secret", true, "secret"},
                                           FallbackCase{"WrongPassword", ui::IDOK, "nope", false, "nope"},
                                           FallbackCase{"Cancelled", ui::IDCANCEL, "secret", false, ""}),
                         [](const auto& p) { return std::string(p.param.name); });

// ---- the Windows version name

struct VersionCase {
  OsVersion version;
  const char* name;
};

TEST(WindowsVersionName, EveryRowAndItsEdges) {
  const VersionCase cases[] = {
      {{1, 4, 0, 949}, kUnknownWindowsVersion}, {{1, 4, 0, 950}, "Windows 95"},
      {{1, 4, 9, 951}, "Windows 95 SP1"},       {{1, 4, 0, 1080}, "Windows 95 SP1"},
      {{1, 4, 0, 1081}, "Windows 95 OSR2"},     {{1, 4, 0, 0x04000000 | 950}, "Windows 95"},
      {{1, 4, 10, 1997}, kUnknownWindowsVersion}, {{1, 4, 10, 1998}, "Windows 98"},
      {{1, 4, 10, 1999}, "Windows 98 SP1"},     {{1, 4, 10, 2182}, "Windows 98 SP1"},
      {{1, 4, 10, 2183}, "Windows 98 SE"},      {{1, 4, 10, 0x040A07CE}, "Windows 98"},
      {{1, 4, 90, 0}, "Windows ME"},            {{1, 4, 11, 3000}, kUnknownWindowsVersion},
      {{1, 5, 0, 950}, kUnknownWindowsVersion}, {{2, 3, 51, 1057}, "Windows NT 3.51"},
      {{2, 3, 50, 0}, kUnknownWindowsVersion},  {{2, 4, 0, 1381}, "Windows NT 4"},
      {{2, 5, 0, 2195}, "Windows 2000"},        {{2, 5, 1, 2600}, "Windows XP"},
      {{2, 5, 2, 3790}, kUnknownWindowsVersion}, {{2, 6, 0, 6000}, "Vista"},
      {{2, 6, 1, 7601}, "Vista"},               {{2, 6, 2, 9200}, "Vista"},
      {{2, 10, 0, 19045}, kUnknownWindowsVersion}, {{2, 7, 0, 0}, kUnknownWindowsVersion},
      {{3, 5, 2, 0}, "Windows CE"},             {{3, 0, 0, 0}, "Windows CE"},
      {{0, 4, 0, 950}, kUnknownWindowsVersion},
  };
  platform::FakeOsInfo os;
  for (const VersionCase& c : cases) {
    os.version = c.version;
    EXPECT_EQ(GetWindowsVersionName(os), c.name) << c.version.platformId << " " << c.version.major << "."
                                                 << c.version.minor << " build " << c.version.build;
  }
  os.version.reset();
  EXPECT_EQ(GetWindowsVersionName(os), kUnknownWindowsVersion);
}

// ---- key texts

TEST(DeviceKey, TextsBuiltFromIdsReadBackToTheSameBytes) {
  const DeviceId example{0x00, 0x1B, 0x2C, 0xA0, 0x0F, 0x30, 0x00, 0x00};
  EXPECT_EQ(DeviceKeyText(example), "0x00,0x1B,0x2C,0xA0,0x0F,0x30,0x00,0x00");
  EXPECT_EQ(DeviceIdFromKeyText(DeviceKeyText(example)), example);
  for (int b = 0; b < 256; b += 3) {
    const auto v = static_cast<std::uint8_t>(b);
    const DeviceId id{v, static_cast<std::uint8_t>(255 - b), 0, v, 0xFF, v, 0x10, v};
    EXPECT_EQ(DeviceIdFromKeyText(DeviceKeyText(id)), id) << DeviceKeyText(id);
  }
}

TEST(DeviceKey, LenientWhereTheReadingAllowsStrictOnCount) {
  const DeviceId expected{0x00, 0x1B, 0x2C, 0xA0, 0x0F, 0x30, 0x00, 0xFF};
  for (const char* text : {"0x00,0x1b,0x2c,0xa0,0x0f,0x30,0x00,0xff", "0,1B,2C,A0,F,30,0,FF",
                           "0X00;0x1B 0x2C,0xA0,0x0F,0x30,0x00,0x1FF", "0x00,0x1B,0x2C,0xA0,0x0F,0x30,0x00,0xFF,"}) {
    EXPECT_EQ(DeviceIdFromKeyText(text), expected) << text;
  }
  for (const char* text : {"", "0x00,0x1B,0x2C,0xA0,0x0F,0x30,0x00", "0x00,0x1B,0x2C,0xA0,0x0F,0x30,0x00,0x00,0x01",
                           "0x00,,0x1B,0x2C,0xA0,0x0F,0x30,0x00", "hello world", "0x,0x1B,0x2C,0xA0,0x0F,0x30,0x00,0x00",
                           " 0x00,0x1B,0x2C,0xA0,0x0F,0x30,0x00,0x00"}) {
    EXPECT_EQ(DeviceIdFromKeyText(text), std::nullopt) << text;
  }
}

}  // namespace
}  // namespace quorvel
