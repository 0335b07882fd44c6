// The web configuration launcher: registry texts, the address check, the command forms with their
// fallback, and the Configuration button with its reachability looks and the fresh start after a lost
// box. Also Apply's credentials after another command has emptied the request values.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "panel_fixture.h"
#include "services/browser_command.h"
#include "services/busy_pause.h"
#include "services/reachability.h"
#include "services/registry_text.h"
#include "services/web_launcher.h"

namespace quorvel::testkit {
namespace {

using platform::FakeProcesses;
using platform::FakeReachability;
using platform::FakeRegistry;
using Strings = std::vector<std::string>;

const std::string kClientsKey = "Software\\Clients\\StartMenuInternet";
const std::string kFirefoxKey = "Software\\Clients\\StartMenuInternet\\FIREFOX.EXE\\shell\\open\\command";
const std::string kFirefox = "\"C:\\Program Files\\Mozilla Firefox\\firefox.exe\" -osint -url \"%1\"";
constexpr std::int64_t kSecond = 1'000'000;

// ---------------------------------------------------------------------------------------------------
// ReadRegistryText over the fake registry.

struct RegistryCase {
  const char* name;
  bool keyExists;
  std::optional<std::string> data;  // stored under storedName; nothing: no such value
  std::string expected;
  std::string storedName = "";
  std::string readName = "";
};
void PrintTo(const RegistryCase& c, std::ostream* out) { *out << c.name; }

class RegistryText : public ::testing::TestWithParam<RegistryCase> {};

TEST_P(RegistryText, ReadsUpToTheFirstNulOrNothingAndClosesWhatItOpened) {
  const RegistryCase& c = GetParam();
  FakeRegistry registry;
  const std::string key = "Software\\Test";
  if (c.keyExists) registry.AddKey(key);
  if (c.data) registry.SetValue(key, c.storedName, *c.data);

  EXPECT_EQ(ReadRegistryText(registry, platform::RegistryRoot::LocalMachine, key, c.readName), c.expected);

  ASSERT_EQ(registry.opens().size(), 1u);
  EXPECT_EQ(registry.opens()[0].access, platform::kKeyQueryValue) << "opened for queries only";
  EXPECT_EQ(registry.opens()[0].root, platform::RegistryRoot::LocalMachine);
  EXPECT_EQ(registry.openKeys(), 0u) << "every opened key is closed";
  EXPECT_EQ(registry.closes(), c.keyExists ? 1u : 0u) << "nothing is closed that was not opened";
  EXPECT_TRUE(registry.errors().empty());
  if (c.keyExists) {
    ASSERT_EQ(registry.queries().size(), 1u);
    EXPECT_EQ(registry.queries()[0].bufferBytes, 120u);
    EXPECT_EQ(registry.queries()[0].valueName, c.readName);
  }
}

const std::string k119(119, 'x');
const std::string k120(120, 'x');

INSTANTIATE_TEST_SUITE_P(
    Values, RegistryText,
    ::testing::Values(RegistryCase{"MissingKey", false, std::nullopt, ""},
                      RegistryCase{"MissingValue", true, std::nullopt, ""},
                      RegistryCase{"DefaultValue", true, std::string("FIREFOX.EXE\0", 12), "FIREFOX.EXE"},
                      RegistryCase{"EmptyText", true, std::string(1, '\0'), ""},
                      RegistryCase{"UpToTheFirstNul", true, std::string("abc\0def\0", 8), "abc"},
                      RegistryCase{"LongestTextWithItsNul", true, k119 + '\0', k119},
                      RegistryCase{"OneCharacterTooLong", true, k120 + '\0', ""},
                      RegistryCase{"FarTooLong", true, std::string(500, 'y') + '\0', ""},
                      RegistryCase{"StoredWithoutNulFits", true, k119, k119},
                      RegistryCase{"StoredWithoutNulNoRoomForTheTerminator", true, k120, ""},
                      RegistryCase{"NamedValue", true, std::string("v\0", 2), "v", "Name", "Name"},
                      RegistryCase{"DefaultValueIsNotANamedOne", true, std::string("v\0", 2), "", "Name", ""}),
    [](const auto& each) { return std::string(each.param.name); });

// ---------------------------------------------------------------------------------------------------
// The address check, the scheme and the length of the browser's command line.

TEST(DottedAddress, OnlyFourDecimalOctetsPass) {
  for (const char* good : {"0.0.0.0", "255.255.255.255", "192.168.1.10", "10.0.0.2", "1.22.133.0"}) {
    EXPECT_TRUE(IsDottedIpv4Address(good)) << good;
  }
  for (const std::string bad :
       {"", "1.2.3", "1.2.3.4.", ".1.2.3.4", "1.2.3.4.5", "1..3.4", "256.1.1.1", "1.2.3.300", "1.2.3.1000",
        "01.2.3.4", "1.2.3.04", "00.0.0.0", "0x1.2.3.4", "+1.2.3.4", "1.2.3.-4", " 1.2.3.4", "1.2.3.4 ",
        "1.2.3.4&calc", "1.2.3.4/evil", "1.2.3.4:8080", "a.b.c.d", "box.local", "1,2,3,4", "0000001.2.3.4"}) {
    EXPECT_FALSE(IsDottedIpv4Address(bad)) << bad;
  }
  EXPECT_FALSE(IsDottedIpv4Address(std::string("1.2.3.4\0", 8))) << "a NUL inside";
}

TEST(WebSchemeOfTheFlag, AOneAnywhereMeansHttps) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"", "http://"}, {"0", "http://"}, {"2", "http://"}, {"1", "https://"}, {"01", "https://"}, {"ab1cd", "https://"}};
  for (const auto& [flag, scheme] : cases) EXPECT_EQ(WebScheme(flag), scheme) << "flag \"" << flag << "\"";
}

TEST(BrowserCommand, TheLongestRegistryCommandWithTheLongestUrlIsKeptWhole) {
  const std::string browser = "\"C:\\" + std::string(kRegistryTextMaxChars - 17, 'p') + "\\browser.exe\"";
  ASSERT_EQ(browser.size(), 119u);
  const BoxAddress longest = *BoxAddress::Checked("255.255.255.255");
  const auto command = BrowserCommandLine(browser, "https://", longest);
  ASSERT_TRUE(command);
  EXPECT_EQ(*command, browser + " https://255.255.255.255");
  EXPECT_GT(command->size(), 127u) << "longer than the old 127-character text, and not cut";
  EXPECT_FALSE(BrowserCommandLine(browser + "x", "https://", longest)) << "too long: refused, not cut";
  EXPECT_EQ(BrowserCommandLine("", "http://", *BoxAddress::Checked("10.0.0.1")), " http://10.0.0.1") << "no browser: begins with a blank";
}

// ---------------------------------------------------------------------------------------------------
// OpenWebPages: which registry keys are read, which command lines are started, and the fallback.

struct FormCase {
  const char* name;
  std::optional<std::string> client;   // the default value of the clients key; nothing: no such key
  std::optional<std::string> command;  // the default value of the client's command key
  std::string httpsFlag;
  std::vector<unsigned> results;  // of the starts, in order; unlisted ones succeed
  Strings started;
  Strings keysOpened;
};
void PrintTo(const FormCase& c, std::ostream* out) { *out << c.name; }

class CommandForms : public ::testing::TestWithParam<FormCase> {};

TEST_P(CommandForms, StartTheRightCommandLinesHidden) {
  const FormCase& c = GetParam();
  FakeRegistry registry;
  FakeProcesses processes;
  if (c.client) registry.SetText(kClientsKey, "", *c.client);
  if (c.command) registry.SetText(BrowserCommandKeyPath(c.client.value_or("")), "", *c.command);
  for (unsigned result : c.results) processes.QueueResult(result);

  OpenWebPages(registry, processes, *BoxAddress::Checked("192.168.1.10"), c.httpsFlag);

  EXPECT_EQ(processes.commandLines(), c.started);
  for (const auto& start : processes.starts()) EXPECT_EQ(start.show, platform::kShowHide) << start.commandLine;
  EXPECT_EQ(registry.openedPaths(), c.keysOpened);
  EXPECT_EQ(registry.openKeys(), 0u);
}

const std::string kIeCommand = "\"C:\\Program Files\\Internet Explorer\\iexplore.exe\"";
const std::string kIeKey = "Software\\Clients\\StartMenuInternet\\iexplore.exe\\shell\\open\\command";
const std::string kNoClientKey = "Software\\Clients\\StartMenuInternet\\\\shell\\open\\command";
const Strings kClientKeyOnly{kClientsKey};
const Strings kFirefoxKeys{kClientsKey, kFirefoxKey};
const Strings kNoClientKeys{kClientsKey, kNoClientKey};
const std::string kFirefoxStart = kFirefox + " http://192.168.1.10";
const std::string kExplorer = "explorer http://192.168.1.10";

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandForms,
    ::testing::Values(
        FormCase{"IeClientLeftToTheShell", "IEXPLORE.EXE", kIeCommand, "", {}, {kExplorer}, kClientKeyOnly},
        FormCase{"IeAnywhereInTheName", "MSIE-Portable", std::nullopt, "", {}, {kExplorer}, kClientKeyOnly},
        FormCase{"LowerCaseIeIsAnotherBrowser", "iexplore.exe", kIeCommand, "", {},
                 {kIeCommand + " http://192.168.1.10"}, {kClientsKey, kIeKey}},
        FormCase{"QuotesAndPlaceholderStay", "FIREFOX.EXE", kFirefox, "", {}, {kFirefoxStart}, kFirefoxKeys},
        FormCase{"NoClientBeginsWithABlankThenExplorer", std::nullopt, std::nullopt, "", {2, 2},
                 {" http://192.168.1.10", kExplorer}, kNoClientKeys},
        FormCase{"ClientWithoutCommand", "Opera", std::nullopt, "", {2},
                 {" http://192.168.1.10", kExplorer},
                 {kClientsKey, "Software\\Clients\\StartMenuInternet\\Opera\\shell\\open\\command"}},
        FormCase{"PathNotFoundFallsBack", "FIREFOX.EXE", kFirefox, "", {3}, {kFirefoxStart, kExplorer}, kFirefoxKeys},
        FormCase{"BadFormatFallsBack", "FIREFOX.EXE", kFirefox, "", {11}, {kFirefoxStart, kExplorer}, kFirefoxKeys},
        FormCase{"AccessDeniedIsLeftBe", "FIREFOX.EXE", kFirefox, "", {5}, {kFirefoxStart}, kFirefoxKeys},
        FormCase{"OutOfMemoryIsLeftBe", "FIREFOX.EXE", kFirefox, "", {0}, {kFirefoxStart}, kFirefoxKeys},
        FormCase{"StartedIsDone", "FIREFOX.EXE", kFirefox, "", {32}, {kFirefoxStart}, kFirefoxKeys},
        FormCase{"HttpsIe", "IEXPLORE.EXE", std::nullopt, "1", {}, {"explorer https://192.168.1.10"}, kClientKeyOnly},
        FormCase{"HttpsBrowser", "FIREFOX.EXE", kFirefox, "01", {}, {kFirefox + " https://192.168.1.10"}, kFirefoxKeys},
        FormCase{"HttpsFallback", std::nullopt, std::nullopt, "x1", {2},
                 {" https://192.168.1.10", "explorer https://192.168.1.10"}, kNoClientKeys},
        FormCase{"FlagWithoutAOneIsHttp", "FIREFOX.EXE", kFirefox, "0", {}, {kFirefoxStart}, kFirefoxKeys}),
    [](const auto& each) { return std::string(each.param.name); });

// ---------------------------------------------------------------------------------------------------
// The worker's end and the flag's life.

TEST(ReachabilityWorker, StoresItsAnswerOnceAndReturnsZero) {
  for (const auto& [reachable, stored] : {std::pair{true, kDeviceReachable}, std::pair{false, kDeviceUnreachable}}) {
    ReachabilityFlag flag{kNoAnswerYet};
    EXPECT_EQ(CheckDeviceReachable(flag, reachable), 0);
    EXPECT_EQ(flag.load(), stored);
  }
}

// A worker that answers after the window has gone still has its flag to write into (AddressSanitizer
// would report the write otherwise).
TEST(ReachabilityWorker, ALateAnswerOutlivesItsWindow) {
  VirtualClock clock;
  FakeReachability checks(clock);
  checks.ScriptNext(FakeReachability::After(5 * kSecond, true));
  {
    DeviceReachability window(checks);
    window.StartWorker("http://192.168.1.10/");
    EXPECT_FALSE(window.WaitForAnswer(clock));
  }
  ASSERT_EQ(checks.held(), 1u);
  clock.Advance(5 * kSecond);
  checks.DeliverDue();
  EXPECT_EQ(checks.held(), 0u);
}

// A close recorded during the wait (here in its first pause) ends it at the next slice.
TEST(ReachabilityWorker, ACloseEndsTheWaitAtItsNextSlice) {
  struct ClosingClock final : Clock {
    std::int64_t now = 0;
    std::atomic<bool> closed{false};
    std::int64_t NowMicros() override { return now; }
    void SleepMillis(int millis) override { now += millis * 1000, closed = true; }
  } clock;
  FakeReachability checks(clock);
  checks.ScriptNext(FakeReachability::Never());
  DeviceReachability window(checks);
  window.StartWorker("http://192.168.1.10/");
  EXPECT_FALSE(window.WaitForAnswer(clock, ui::BusyStop(clock.closed)));
  EXPECT_EQ(clock.now, kPauseSliceMillis * 1000);
}

// ---------------------------------------------------------------------------------------------------
// The Configuration button in the main window.

const PortFields kAlphaPort{"192.168.1.10", "255.255.255.0", "192.168.1.1", "0"};
const PortFields kBetaPort{"192.168.1.20", "255.255.255.0", "192.168.1.1", "0"};

class Configuration : public PanelTest {
 protected:
  Configuration() {
    SetBoxes({{kAlpha, BoxFields("alpha", {kAlphaPort})}, {kBeta, BoxFields("beta", {kBetaPort})}});
    registry.SetText(kClientsKey, "", "FIREFOX.EXE");
    registry.SetText(kFirefoxKey, "", kFirefox);
    Open();
  }
  // The row selected without a click, as the arrow keys do: no login, no panel.
  void KeySelect(int row) { host->KeyListRow(IDC_DEVICE_LIST, row); }
  void ClickConfiguration() { host->Click(IDC_CONFIGURATION); }
  std::size_t Searches() const { return Requests(OP_SEARCH).size(); }
  void ExpectWarning(const ui::MessageBoxRecord& shown, const std::string& expected) {
    EXPECT_EQ(shown.text, expected);
    EXPECT_EQ(shown.caption, "Warning");
    EXPECT_EQ(static_cast<unsigned>(shown.icon), 48u);
  }
};

TEST_F(Configuration, WithoutASelectedRowInViewWarnsAndDoesNothingElse) {
  for (bool scrolledAbove : {false, true}) {
    SCOPED_TRACE(scrolledAbove ? "selected row above the first row in view" : "no row selected");
    ui::HeadlessListView& devices = host->List(IDC_DEVICE_LIST);
    if (scrolledAbove) {
      KeySelect(0);
      devices.SetTopIndex(1);
    }
    const std::size_t messages = ui.messageBoxes().size();
    ClickConfiguration();

    ASSERT_EQ(ui.messageBoxes().size(), messages + 1);
    ExpectWarning(ui.messageBoxes().back(), "Please select a device to configure.");
    EXPECT_TRUE(reachability.urls().empty());
    EXPECT_TRUE(registry.opens().empty());
    EXPECT_TRUE(processes.starts().empty());
    EXPECT_TRUE(platformClock.sleeps().empty());
    EXPECT_EQ(Searches(), 1u) << "no new search";
    EXPECT_EQ(dialog.currentDeviceAddress().view(), "");
  }
}

TEST_F(Configuration, TakesTheFirstSelectedRowFromTheTopIndexDown) {
  KeySelect(1);
  host->List(IDC_DEVICE_LIST).SetTopIndex(1);
  ClickConfiguration();
  EXPECT_TRUE(ui.messageBoxes().empty());
  EXPECT_EQ(dialog.currentDeviceAddress().view(), "192.168.1.20");
  EXPECT_EQ(reachability.urls(), Strings{"http://192.168.1.20/"});
  EXPECT_EQ(processes.commandLines(), Strings{kFirefox + " http://192.168.1.20"});
}

struct LookCase {
  const char* name;
  FakeReachability::Answer answer;
  std::vector<int> sleeps;  // before the waiter decided
  bool proceeds;
  std::int32_t flagAfter;
};
void PrintTo(const LookCase& c, std::ostream* out) { *out << c.name; }

class Looks : public Configuration, public ::testing::WithParamInterface<LookCase> {};

TEST_P(Looks, ProceedOnAReachableAnswerWithinThreeLooksElseWarnAndStartAfresh) {
  const LookCase& c = GetParam();
  SelectAccepted(0);
  ASSERT_EQ(dialog.deviceSelectedMark(), 1);
  drives.SetConnection("Y:", "\\\\alpha\\Volume_1");  // mapped meanwhile: a fresh start shows it
  reachability.ScriptNext(c.answer);
  const std::size_t searches = Searches();
  ClickConfiguration();

  EXPECT_EQ(reachability.urls(), Strings{"http://192.168.1.10/"}) << "the box's web server";
  std::vector<int> slices;  // each pause between looks is slept in short slices
  for (int pause : c.sleeps) slices.insert(slices.end(), pause / kPauseSliceMillis, kPauseSliceMillis);
  EXPECT_EQ(platformClock.sleeps(), slices);
  EXPECT_EQ(dialog.reachabilityFlag(), c.flagAfter);
  if (c.proceeds) {
    EXPECT_TRUE(ui.messageBoxes().empty());
    EXPECT_EQ(processes.commandLines(), Strings{kFirefoxStart});
    EXPECT_EQ(Searches(), searches);
    EXPECT_EQ(dialog.deviceSelectedMark(), 1);
    return;
  }
  ASSERT_EQ(ui.messageBoxes().size(), 1u);
  ExpectWarning(ui.messageBoxes()[0], "Device is no longer available.");
  EXPECT_TRUE(processes.starts().empty());
  EXPECT_TRUE(registry.opens().empty());
  // The fresh start: drive mappings read again and listed, a new search, no box selected.
  EXPECT_TRUE(dialog.driveMapTable().IsMapped(1));
  ASSERT_GE(host->Combo(IDC_DRIVE_LETTER).Count(), 2);
  EXPECT_EQ(host->Combo(IDC_DRIVE_LETTER).ItemText(1), "Y: \\\\alpha\\Volume_1");
  EXPECT_EQ(Searches(), searches + 1);
  EXPECT_EQ(host->List(IDC_DEVICE_LIST).ItemCount(), 2);
  EXPECT_EQ(host->Combo(IDC_INTERFACE).Count(), 0);
  EXPECT_EQ(dialog.deviceSelectedMark(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Looks,
    ::testing::Values(
        LookCase{"ReachableAtOnce", FakeReachability::AtOnce(true), {}, true, kNoAnswerYet},
        LookCase{"ReachableAfterOneSecond", FakeReachability::After(kSecond, true), {1000}, true, kNoAnswerYet},
        LookCase{"ReachableAfterTwoSeconds", FakeReachability::After(2 * kSecond, true), {1000, 1000}, true,
                 kNoAnswerYet},
        LookCase{"UnreachableAtOnce", FakeReachability::AtOnce(false), {}, false, kDeviceUnreachable},
        LookCase{"UnreachableAfterOneSecond", FakeReachability::After(kSecond, false), {1000}, false,
                 kDeviceUnreachable},
        LookCase{"ReachableJustAfterTheThirdLook", FakeReachability::After(2 * kSecond + 1, true), {1000, 1000},
                 false, kNoAnswerYet},
        LookCase{"NoAnswer", FakeReachability::Never(), {1000, 1000}, false, kNoAnswerYet}),
    [](const auto& each) { return std::string(each.param.name); });

// An answer that comes after the looks stays in the flag; the next click's first look takes it, whatever
// that click's own worker will say.
TEST_F(Configuration, ALateAnswerIsWhatTheNextClicksFirstLookSees) {
  for (bool lateReachable : {true, false}) {
    SCOPED_TRACE(lateReachable ? "late: reachable" : "late: unreachable");
    const std::size_t messages = ui.messageBoxes().size();
    const std::size_t started = processes.starts().size();
    reachability.ScriptNext(FakeReachability::After(3 * kSecond, lateReachable));
    KeySelect(0);
    ClickConfiguration();
    ASSERT_EQ(ui.messageBoxes().size(), messages + 1);
    ASSERT_EQ(reachability.held(), 1u);
    EXPECT_EQ(dialog.reachabilityFlag(), kNoAnswerYet);

    clock.Advance(kSecond);  // the user reads the warning and selects the box again
    reachability.ScriptNext(FakeReachability::Never());
    KeySelect(0);
    const std::size_t sleeps = platformClock.sleeps().size();
    const std::size_t searches = Searches();
    ClickConfiguration();

    EXPECT_EQ(platformClock.sleeps().size(), sleeps) << "decided at the first look";
    EXPECT_EQ(reachability.held(), 0u);
    if (lateReachable) {
      EXPECT_EQ(ui.messageBoxes().size(), messages + 1);
      ASSERT_EQ(processes.starts().size(), started + 1);
      EXPECT_EQ(processes.starts().back().commandLine, kFirefoxStart);
      EXPECT_EQ(dialog.reachabilityFlag(), kNoAnswerYet) << "the 1 was taken";
    } else {
      ASSERT_EQ(ui.messageBoxes().size(), messages + 2);
      ExpectWarning(ui.messageBoxes().back(), "Device is no longer available.");
      EXPECT_EQ(processes.starts().size(), started);
      EXPECT_EQ(Searches(), searches + 1);
      EXPECT_EQ(dialog.reachabilityFlag(), kDeviceUnreachable) << "not changed by the waiter";
    }
  }
}

// The row's address is what a box reported: anything but a dotted address is never checked or started,
// and the box counts as one that cannot be reached.
TEST_F(Configuration, AnAddressThatIsNotDottedIpv4IsRefused) {
  for (const std::string address : {"192.168.1.10 & calc", "192.168.001.10", "256.1.1.1", "", "alpha.local",
                                    "192.168.1.10/x", "\"192.168.1.10"}) {
    SCOPED_TRACE(address);
    host->List(IDC_DEVICE_LIST).SetItemText(0, 1, address);
    KeySelect(0);
    const std::size_t searches = Searches();
    const std::size_t messages = ui.messageBoxes().size();
    ClickConfiguration();

    ASSERT_EQ(ui.messageBoxes().size(), messages + 1);
    ExpectWarning(ui.messageBoxes().back(), "Device is no longer available.");
    EXPECT_EQ(Searches(), searches + 1) << "a fresh start";
    EXPECT_TRUE(reachability.urls().empty());
    EXPECT_TRUE(registry.opens().empty());
    EXPECT_TRUE(processes.starts().empty());
    EXPECT_EQ(dialog.currentDeviceAddress().view(), "") << "an address that is none is not kept";
  }
}

TEST_F(PanelTest, ConfigurationKeepsTheLongestBrowserCommandWhole) {
  const std::string browser = "\"C:\\" + std::string(102, 'p') + "\\browser.exe\"";
  ASSERT_EQ(browser.size(), kRegistryTextMaxChars);
  registry.SetText(kClientsKey, "", "Long");
  registry.SetText("Software\\Clients\\StartMenuInternet\\Long\\shell\\open\\command", "", browser);
  SetBoxes({{kAlpha, BoxFields("alpha", {{"192.168.100.200", "255.255.255.0", "192.168.100.1", "0"}})}});
  Open();
  host->KeyListRow(IDC_DEVICE_LIST, 0);
  host->Click(IDC_CONFIGURATION);
  EXPECT_EQ(processes.commandLines(), Strings{browser + " http://192.168.100.200"});
}

TEST_F(PanelTest, ConfigurationWithATooLongBrowserCommandOpensThroughTheShell) {
  registry.SetText(kClientsKey, "", "Long");
  registry.SetText("Software\\Clients\\StartMenuInternet\\Long\\shell\\open\\command", "", std::string(200, 'p'));
  processes.QueueResult(platform::kStartFileNotFound);  // the blank-led command finds no program
  SetBoxes({{kAlpha, BoxFields("alpha", {kAlphaPort})}});
  Open();
  host->KeyListRow(IDC_DEVICE_LIST, 0);
  host->Click(IDC_CONFIGURATION);
  EXPECT_EQ(processes.commandLines(), (Strings{" http://192.168.1.10", kExplorer}));
}

// ---------------------------------------------------------------------------------------------------
// Apply after a share mapping: the mapping empties the request's user name and password; Apply sends
// the ones that the box accepted at its selection.

TEST_F(PanelTest, ApplySendsTheAcceptedCredentialsAfterTheyWereEmptied) {
  for (bool dhcp : {false, true}) {
    SCOPED_TRACE(dhcp ? "DHCP" : "static");
    SetBoxes({{kAlpha, BoxFields("alpha", {kAlphaPort})}});
    if (host == nullptr) Open();
    SelectAccepted(0);
    protocol.context().UserName = "";
    protocol.context().Password = "";
    if (dhcp) {
      host->SelectComboItem(IDC_DHCP, 1);
    } else {
      Type(IDC_IP, Octets{192, 168, 1, 50});
      Type(IDC_NETMASK, Octets{255, 255, 255, 0});
      Type(IDC_GATEWAY, Octets{192, 168, 1, 1});
    }
    const std::size_t sent = Requests(OP_SET_NETWORK).size();
    host->Click(IDC_APPLY);

    ASSERT_EQ(Requests(OP_SET_NETWORK).size(), sent + 1);
    const ByteVector request = Requests(OP_SET_NETWORK).back();
    EXPECT_EQ(Credential(request, 0), Base64Encode("admin"));
    EXPECT_EQ(Credential(request, 1), Base64Encode("secret"));
  }
}

}  // namespace
}  // namespace quorvel::testkit
