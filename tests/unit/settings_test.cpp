// The settings panel: Apply with its checks and its two requests, the DHCP choice and the switch
// between a box's ports.
#include <gtest/gtest.h>

#include "panel_fixture.h"

namespace quorvel::testkit {
namespace {

using Fields = std::vector<std::pair<int, std::string>>;

const PortFields kAlphaPort{"192.168.1.10", "255.255.255.0", "192.168.1.1", "0"};
const PortFields kBetaLan1{"192.168.1.20", "255.255.255.0", "192.168.1.1", "0"};
const PortFields kBetaLan2{"10.0.0.2", "255.0.0.0", "10.0.0.1", "1"};

class Settings : public PanelTest {
 protected:
  Settings() {
    SetBoxes({{kAlpha, BoxFields("alpha", {kAlphaPort})}, {kBeta, BoxFields("beta", {kBetaLan1, kBetaLan2})}});
    Open();
  }
  void Fill(std::optional<Octets> ip, std::optional<Octets> netmask, std::optional<Octets> gateway) {
    Type(IDC_IP, ip);
    Type(IDC_NETMASK, netmask);
    Type(IDC_GATEWAY, gateway);
  }
  std::size_t Searches() const { return Requests(OP_SEARCH).size(); }
};

TEST_F(Settings, ApplyWithoutASelectedBoxIsRefused) {
  for (bool loginCancelled : {false, true}) {
    SCOPED_TRACE(loginCancelled ? "login cancelled: no Interface item" : "nothing selected");
    if (loginCancelled) {
      LoginWith("admin", "secret", /*ok=*/false);
      host->ClickListRow(IDC_DEVICE_LIST, 0);
      ASSERT_EQ(dialog.deviceSelectedMark(), 1);
      Fill(Octets{192, 168, 1, 50}, Octets{255, 255, 255, 0}, Octets{192, 168, 1, 1});
    }
    dialog.authenticator().AdminLoginMode = 0;
    host->Click(IDC_APPLY);
    ASSERT_FALSE(ui.messageBoxes().empty());
    EXPECT_EQ(ui.messageBoxes().back().text, "Please select a device in the above section.");
    EXPECT_EQ(ui.messageBoxes().back().caption, "Error");
    EXPECT_EQ(ui.messageBoxes().back().icon, ui::Icon::Error);
    EXPECT_EQ(dialog.authenticator().AdminLoginMode, 1);
    EXPECT_TRUE(Requests(OP_SET_NETWORK).empty());
    EXPECT_EQ(dialog.networkView().port0.ip.view(), "") << "nothing saved";
  }
  EXPECT_EQ(ui.messageBoxes().size(), 2u);
}

struct CheckCase {
  const char* name;
  std::optional<Octets> ip, netmask, gateway;
  std::string message;  // empty: the settings pass
  std::string caption;
  ui::Icon icon;
  int caretEditor;  // 0: the caret stays where it was
  std::string sentGateway;
};
void PrintTo(const CheckCase& c, std::ostream* out) { *out << c.name; }

class Checks : public Settings, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(Checks, ReportTheFirstFailureWithItsCaretOrSend) {
  const CheckCase& c = GetParam();
  transport->SetPrefixLength(0, 0);  // no network question here: the Safety table has those
  SelectAccepted(0);
  Fill(c.ip, c.netmask, c.gateway);
  host->Click(IDC_APPLY);

  if (c.message.empty()) {
    EXPECT_TRUE(ui.messageBoxes().empty()) << ui.messageBoxes().front().text;
    ASSERT_EQ(Requests(OP_SET_NETWORK).size(), 1u);
    EXPECT_EQ(RequestFields(Requests(OP_SET_NETWORK)[0])[2], (std::pair<int, std::string>{FLD_PORT_GATEWAY, c.sentGateway}));
    return;
  }
  ASSERT_EQ(ui.messageBoxes().size(), 1u);
  EXPECT_EQ(ui.messageBoxes()[0].text, c.message);
  EXPECT_EQ(ui.messageBoxes()[0].caption, c.caption);
  EXPECT_EQ(ui.messageBoxes()[0].icon, c.icon);
  if (c.caretEditor != 0) {
    EXPECT_EQ(host->focusedId(), c.caretEditor);
    EXPECT_EQ(host->Address(c.caretEditor).FocusField(), 0);
  } else {
    EXPECT_EQ(host->focusedId(), IDC_APPLY);
  }
  EXPECT_TRUE(Requests(OP_SET_NETWORK).empty());
  EXPECT_EQ(Searches(), 1u) << "no refresh after a failed check";
  EXPECT_EQ(dialog.deviceSelectedMark(), 1);
}

const Octets kIp{192, 168, 1, 10};
const Octets kMask{255, 255, 255, 0};
const std::string kTcpIp = "You enter incorrect TCP/IP configuration. Please try again.";
const std::string kBadMask = "Netmask address input invalid. Please try again.";
const std::string kIp1st = "Invalid IP address in 1st digit. It should be 1-223.";
const std::string kGw1st = "Invalid gateway IP address in 1st digit. It should be 1-223.";
constexpr auto W = ui::Icon::Warning;
constexpr auto E = ui::Icon::Error;
constexpr auto I = ui::Icon::Information;

INSTANTIATE_TEST_SUITE_P(
    InOrder, Checks,
    ::testing::Values(
        CheckCase{"BlankIp", std::nullopt, kMask, std::nullopt, "Please input IP address!", "Warning", W, 0, ""},
        CheckCase{"BlankNetmask", kIp, std::nullopt, std::nullopt, "Please input net mask address!", "Warning", W, 0, ""},
        CheckCase{"Loopback", Octets{127, 0, 0, 1}, kMask, Octets{127, 0, 0, 254},
                  "IP address input error. Please try again.", "Warning", W, 0, ""},
        CheckCase{"ZeroNetwork", Octets{0, 1, 2, 3}, kMask, std::nullopt, kIp1st, "Error", I, IDC_IP, ""},
        CheckCase{"Multicast", Octets{224, 0, 0, 1}, kMask, std::nullopt, kIp1st, "Error", I, IDC_IP, ""},
        CheckCase{"GatewayZeroNetwork", kIp, kMask, Octets{0, 1, 1, 1}, kGw1st, "Error", I, IDC_GATEWAY, ""},
        CheckCase{"GatewayMulticast", kIp, kMask, Octets{230, 1, 1, 1}, kGw1st, "Error", I, IDC_GATEWAY, ""},
        CheckCase{"GatewayIsTheNetwork", kIp, kMask, Octets{192, 168, 1, 0}, kTcpIp, "Error", E, 0, ""},
        CheckCase{"GatewayIsTheBroadcast", kIp, kMask, Octets{192, 168, 1, 255}, kTcpIp, "Error", E, 0, ""},
        CheckCase{"GatewayInAnotherSubnet", kIp, kMask, Octets{192, 168, 2, 1}, kTcpIp, "Error", E, 0, ""},
        CheckCase{"BlankGateway", kIp, kMask, std::nullopt, kTcpIp, "Error", E, 0, ""},
        CheckCase{"MaskWithAHoleBeforeTheSubnetCheck", kIp, Octets{255, 0, 255, 0}, Octets{192, 168, 2, 1}, kBadMask,
                  "Error", E, 0, ""},
        CheckCase{"MaskWithAHoleAfterTheGatewayOctets", kIp, Octets{255, 0, 255, 0}, Octets{230, 1, 1, 1}, kGw1st,
                  "Error", I, IDC_GATEWAY, ""},
        CheckCase{"ZeroMask", kIp, Octets{0, 0, 0, 0}, Octets{192, 168, 1, 1}, kBadMask, "Error", E, 0, ""},
        CheckCase{"GoodGateway", kIp, kMask, Octets{192, 168, 1, 1}, "", "", E, 0, "192.168.1.1"},
        CheckCase{"LinkLocalNeedsNoGateway", Octets{169, 254, 10, 20}, Octets{255, 255, 0, 0}, std::nullopt, "", "", E,
                  0, ""}),
    [](const auto& each) { return std::string(each.param.name); });

TEST_F(Settings, FailedCheckHasAlreadyTakenTheAddressAndNetmask) {
  SelectAccepted(0);
  Fill(Octets{192, 168, 1, 50}, Octets{255, 255, 0, 0}, Octets{10, 0, 0, 1});
  host->Click(IDC_APPLY);
  EXPECT_EQ(Messages(), std::vector<std::string>{kTcpIp});
  EXPECT_EQ(protocol.context().NewIpText.view(), "192.168.1.50");
  EXPECT_EQ(protocol.context().NewNetmaskText.view(), "255.255.0.0");
  EXPECT_EQ(dialog.networkView().port0.gateway.view(), "10.0.0.1") << "the panel is saved before the checks";
}

// Whatever the box answers, a static Apply shows nothing and searches again two seconds later.
TEST_F(Settings, StaticApplySendsOneRequestThenSearchesAfterThePause) {
  for (std::optional<std::uint16_t> status : {std::optional<std::uint16_t>(1), std::optional<std::uint16_t>(0),
                                              std::optional<std::uint16_t>()}) {
    SCOPED_TRACE(status ? std::to_string(*status) : "no answer");
    settingsStatus = status;
    const std::size_t requests = Requests(OP_SET_NETWORK).size();
    const std::size_t searches = Searches();
    SelectAccepted(0);
    Fill(Octets{192, 168, 1, 50}, kMask, Octets{192, 168, 1, 254});
    host->Click(IDC_APPLY);

    ASSERT_EQ(Requests(OP_SET_NETWORK).size(), requests + 1);
    EXPECT_EQ(RequestFields(Requests(OP_SET_NETWORK).back()),
              (Fields{{FLD_PORT_IP, "192.168.1.50"}, {FLD_PORT_NETMASK, "255.255.255.0"},
                      {FLD_PORT_GATEWAY, "192.168.1.254"}, {FLD_PORT_ADDR_A, "a0"}, {FLD_PORT_ADDR_B, "b0"},
                      {FLD_PORT_OPTION, "0"}, {FLD_PORT_INDEX, "0"}, {FLD_PORT_DHCP, "0"}}));
    ASSERT_EQ(Searches(), searches + 1);
    ASSERT_GE(sentAt.size(), 2u);
    const auto& sent = sentAt[sentAt.size() - 2];
    ASSERT_EQ(sent.first, OP_SET_NETWORK);
    // The pause; the search's request then leaves at once.
    EXPECT_GE(sentAt.back().second - sent.second, 2'000'000);
    EXPECT_TRUE(ui.messageBoxes().empty());
    EXPECT_EQ(protocol.context().SelectedPortText.view(), "LAN");
    EXPECT_EQ(dialog.deviceSelectedMark(), 0);
    EXPECT_EQ(host->Combo(IDC_INTERFACE).Count(), 0);
    EXPECT_EQ(dialog.networkView().port0.ip.view(), "192.168.1.50") << "kept after the refresh";
    EXPECT_EQ(dialog.authenticator().AdminLoginMode, 1);
  }
}

TEST_F(Settings, DhcpApplyReportsTheBoxsAnswer) {
  for (bool accepted : {true, false}) {
    SCOPED_TRACE(accepted ? "accepted" : "refused");
    settingsStatus = accepted ? 1 : 0;
    const std::size_t searches = Searches();
    SelectAccepted(0);
    host->SelectComboItem(IDC_DHCP, 1);
    Fill(std::nullopt, std::nullopt, std::nullopt);  // not looked at
    host->Click(IDC_APPLY);

    ASSERT_FALSE(Requests(OP_SET_NETWORK).empty());
    const Fields fields = RequestFields(Requests(OP_SET_NETWORK).back());
    EXPECT_EQ(fields.back(), (std::pair<int, std::string>{FLD_PORT_DHCP, "1"}));
    EXPECT_EQ(fields.front(), (std::pair<int, std::string>{FLD_PORT_IP, ""})) << "the address texts stay as they were";
    ASSERT_FALSE(ui.messageBoxes().empty());
    const auto& shown = ui.messageBoxes().back();
    EXPECT_EQ(shown.text, accepted ? "DHCP client enabled." : "Set to dhcp client fail.");
    EXPECT_EQ(shown.caption, accepted ? "Confirm" : "Error");
    EXPECT_EQ(shown.icon, accepted ? ui::Icon::Information : ui::Icon::Error);
    EXPECT_EQ(Searches(), searches + (accepted ? 1 : 0)) << "no refresh after a failure";
    EXPECT_EQ(dialog.networkView().port0.dhcp.view(), "1");
  }
}

TEST_F(Settings, DhcpChoiceGreysOrFreesTheEditorsOnly) {
  SelectAccepted(0);
  host->SelectComboItem(IDC_DHCP, 1);
  EXPECT_FALSE(EditorsEnabled());
  host->SelectComboItem(IDC_DHCP, 0);
  EXPECT_TRUE(EditorsEnabled());
  EXPECT_EQ(dialog.networkView().port0.dhcp.view(), "0") << "the view is not changed";
}

TEST_F(Settings, SwitchingPortsKeepsTheEditsOfEach) {
  SelectAccepted(1);
  EXPECT_EQ(host->Combo(IDC_INTERFACE).CurSel(), 0);
  Type(IDC_IP, Octets{192, 168, 1, 77});

  host->SelectComboItem(IDC_INTERFACE, 0);  // the item already shown: nothing happens
  EXPECT_EQ(Shown(IDC_IP), (Octets{192, 168, 1, 77}));
  EXPECT_EQ(dialog.networkView().port0.ip.view(), "192.168.1.20");

  host->SelectComboItem(IDC_INTERFACE, 1);
  EXPECT_EQ(dialog.previousInterfaceIndex(), 1);
  EXPECT_EQ(Shown(IDC_IP), (Octets{10, 0, 0, 2}));
  EXPECT_EQ(Shown(IDC_GATEWAY), (Octets{10, 0, 0, 1}));
  EXPECT_EQ(host->Combo(IDC_DHCP).CurSel(), 1);
  EXPECT_FALSE(EditorsEnabled());
  EXPECT_EQ(ShareRows().size(), 3u) << "the companion share listed";

  host->SelectComboItem(IDC_DHCP, 0);
  Type(IDC_GATEWAY, std::nullopt);
  host->SelectComboItem(IDC_INTERFACE, 0);
  EXPECT_EQ(Shown(IDC_IP), (Octets{192, 168, 1, 77}));
  EXPECT_EQ(host->Combo(IDC_DHCP).CurSel(), 0);
  EXPECT_EQ(dialog.networkView().port1.gateway.view(), "0.0.0.0");
  EXPECT_EQ(dialog.networkView().port1.dhcp.view(), "0");

  host->SelectComboItem(IDC_INTERFACE, 1);
  EXPECT_FALSE(Shown(IDC_GATEWAY)) << "a saved 0.0.0.0 shows blank";
  EXPECT_TRUE(EditorsEnabled());
  EXPECT_TRUE(ui.errors().empty());
}

TEST_F(PanelTest, InterfaceSwitchListsLocationsThroughThePortShown) {
  drives.SetConnection("Y:", "\\\\beta\\Volume_1");
  drives.SetConnection("X:", "\\\\10.0.0.2\\Recycle Bin - Volume_1");
  SetBoxes({{kBeta, BoxFields("beta", {kBetaLan1, kBetaLan2})}});
  Open();
  SelectAccepted(0);
  EXPECT_EQ(ShareRows(), (std::vector<std::vector<std::string>>{{"Volume_1", "Y:"}, {"usb", ""}}));
  host->SelectComboItem(IDC_INTERFACE, 1);
  EXPECT_EQ(ShareRows(), (std::vector<std::vector<std::string>>{
                             {"Volume_1", ""}, {"Recycle Bin - Volume_1", "X:"}, {"usb", ""}}));
}

// Port 2 of a box is changed with the panel's own gateway, not the first port's.
TEST_F(Settings, Lan2IsSentWithItsOwnGateway) {
  SelectAccepted(1);
  host->SelectComboItem(IDC_INTERFACE, 1);
  host->SelectComboItem(IDC_DHCP, 0);
  Fill(Octets{10, 0, 0, 5}, Octets{255, 0, 0, 0}, Octets{10, 0, 0, 254});
  ui.QueueMessageBoxAnswer(ui::kAnswerYes);  // the PC is on 192.168.1.0/24
  host->Click(IDC_APPLY);
  ASSERT_EQ(ui.messageBoxes().size(), 1u);
  EXPECT_TRUE(ui.messageBoxes()[0].text.starts_with("10.0.0.5 is not on this PC's network 192.168.1.0/24."));
  ASSERT_EQ(Requests(OP_SET_NETWORK).size(), 1u);
  EXPECT_EQ(RequestFields(Requests(OP_SET_NETWORK)[0]),
            (Fields{{FLD_PORT_IP, "10.0.0.5"}, {FLD_PORT_NETMASK, "255.0.0.0"}, {FLD_PORT_GATEWAY, "10.0.0.254"},
                    {FLD_PORT_ADDR_A, "a1"}, {FLD_PORT_ADDR_B, "b1"}, {FLD_PORT_OPTION, "1"},
                    {FLD_PORT_INDEX, "1"}, {FLD_PORT_DHCP, "0"}}));
  EXPECT_EQ(protocol.context().SelectedPortText.view(), "LAN2");
  EXPECT_EQ(dialog.networkView().port1.ip.view(), "10.0.0.5");
  EXPECT_EQ(dialog.networkView().port0.gateway.view(), "192.168.1.1");
}

// The questions between the static checks and the request. The PC is 192.168.1.2/24; alpha is 192.168.1.10.
struct SafetyCase {
  const char* name;
  Octets ip, netmask, gateway;
  platform::ProbeAnswer link;  // what the probe finds
  std::optional<int> answer;   // the user's answer to a question; none: the default button
  std::string question;        // empty: none asked
  bool probed;
  bool sent;
};
void PrintTo(const SafetyCase& c, std::ostream* out) { *out << c.name; }

class Safety : public Settings, public ::testing::WithParamInterface<SafetyCase> {};

TEST_P(Safety, AsksBeforeSendingATakenOrOutsideAddress) {
  const SafetyCase& c = GetParam();
  SelectAccepted(0);
  addressProbe.SetAnswer(DottedText(c.ip), c.link);
  if (c.answer) ui.QueueMessageBoxAnswer(*c.answer);
  Fill(c.ip, c.netmask, c.gateway);
  host->Click(IDC_APPLY);

  using Call = platform::FakeAddressProbe::Call;
  const std::vector<Call> probes =
      c.probed ? std::vector<Call>{{DottedText(c.ip), "192.168.1.2", 1000}} : std::vector<Call>{};
  EXPECT_EQ(addressProbe.calls(), probes);
  if (c.question.empty()) {
    EXPECT_TRUE(ui.messageBoxes().empty()) << ui.messageBoxes().front().text;
  } else {
    ASSERT_EQ(ui.messageBoxes().size(), 1u);
    EXPECT_EQ(ui.messageBoxes()[0].text, c.question);
    EXPECT_EQ(ui.messageBoxes()[0].caption, "Warning");
    EXPECT_EQ(ui.messageBoxes()[0].icon, ui::Icon::Warning);
    EXPECT_TRUE(ui.messageBoxes()[0].yesNo);
  }
  EXPECT_EQ(Requests(OP_SET_NETWORK).size(), c.sent ? 1u : 0u);
  if (c.sent) return;
  EXPECT_EQ(Searches(), 1u) << "no refresh";
  EXPECT_EQ(Shown(IDC_IP), c.ip) << "the panel keeps what was typed";
  EXPECT_EQ(host->focusedId(), IDC_IP);
  EXPECT_EQ(host->Address(IDC_IP).FocusField(), 0);
}

const std::string kTakenQuestion = "Another device already answers at 192.168.1.44. Use this address anyway?";
const std::string kOutsideQuestion =
    "10.1.2.3 is not on this PC's network 192.168.1.0/24. The box will still be found, but its shares and web pages "
    "will not be reachable from this PC. Use this address anyway?";
const Octets kFree{192, 168, 1, 44};
const Octets kGw{192, 168, 1, 1};
const Octets kFar{10, 1, 2, 3};
const Octets kFarGw{10, 1, 2, 254};
using platform::ProbeAnswer;

INSTANTIATE_TEST_SUITE_P(
    Apply, Safety,
    ::testing::Values(
        SafetyCase{"TakenNo", kFree, kMask, kGw, ProbeAnswer::Answered, ui::kAnswerNo, kTakenQuestion, true, false},
        SafetyCase{"TakenDefault", kFree, kMask, kGw, ProbeAnswer::Answered, std::nullopt, kTakenQuestion, true, false},
        SafetyCase{"TakenYes", kFree, kMask, kGw, ProbeAnswer::Answered, ui::kAnswerYes, kTakenQuestion, true, true},
        SafetyCase{"OutsideNo", kFar, kMask, kFarGw, ProbeAnswer::Answered, ui::kAnswerNo, kOutsideQuestion, false,
                   false},
        SafetyCase{"OutsideYes", kFar, kMask, kFarGw, ProbeAnswer::Silent, ui::kAnswerYes, kOutsideQuestion, false,
                   true},
        SafetyCase{"Free", kFree, kMask, kGw, ProbeAnswer::Silent, std::nullopt, "", true, true},
        SafetyCase{"CannotProbe", kFree, kMask, kGw, ProbeAnswer::CannotProbe, std::nullopt, "", true, true},
        SafetyCase{"TheBoxsOwnAddress", Octets{192, 168, 1, 10}, kMask, kGw, ProbeAnswer::Answered, std::nullopt, "",
                   false, true}),
    [](const auto& each) { return std::string(each.param.name); });

// A close while the link is asked: the probe's answer is not acted on, nothing is asked or sent.
TEST_F(Settings, CloseDuringTheProbeSendsNothing) {
  SelectAccepted(0);
  addressProbe.SetAnswer(DottedText(kFree), ProbeAnswer::Answered);
  addressProbe.duringProbe = [this] { ui.ActAsUser([this] { host->Close(); }); };
  Fill(kFree, kMask, kGw);
  host->Click(IDC_APPLY);
  EXPECT_EQ(addressProbe.calls().size(), 1u);
  EXPECT_TRUE(ui.messageBoxes().empty());
  EXPECT_TRUE(Requests(OP_SET_NETWORK).empty());
  EXPECT_FALSE(host->isOpen());
}

// Without a DHCP choice the panel is still saved, the port keeps its dhcp text, and nothing is sent.
TEST_F(Settings, NoDhcpChoiceSavesThePanelAndSendsNothing) {
  SelectAccepted(1);
  host->SelectComboItem(IDC_INTERFACE, 1);  // port 2 is a DHCP client
  host->Combo(IDC_DHCP).SetCurSel(-1);
  Fill(Octets{10, 0, 0, 9}, std::nullopt, std::nullopt);
  host->Click(IDC_APPLY);
  EXPECT_TRUE(ui.messageBoxes().empty());
  EXPECT_TRUE(Requests(OP_SET_NETWORK).empty());
  EXPECT_EQ(Searches(), 1u);
  const PortView& port = dialog.networkView().port1;
  EXPECT_EQ(port.ip.view(), "10.0.0.9");
  EXPECT_EQ(port.netmask.view(), "0.0.0.0");
  EXPECT_EQ(port.dhcp.view(), "1");
}

}  // namespace
}  // namespace quorvel::testkit
