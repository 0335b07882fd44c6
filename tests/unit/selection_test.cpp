// Device selection: the panel filled for every shape of box, the login on the way, which rows count
// as selected, and the share list in each of its variants.
#include <gtest/gtest.h>

#include "app/inet_address.h"
#include "app/share_list.h"
#include "panel_fixture.h"

namespace quorvel::testkit {
namespace {

using Rows = std::vector<std::vector<std::string>>;

void ExpectPort(const PortView& view, const PortFields& expected, const char* which) {
  SCOPED_TRACE(which);
  EXPECT_EQ(view.ip.view(), expected.ip);
  EXPECT_EQ(view.netmask.view(), expected.netmask);
  EXPECT_EQ(view.gateway.view(), expected.gateway);
  EXPECT_EQ(view.dhcp.view(), expected.dhcp);
}

struct ShapeCase {
  const char* name;
  FieldList box;
  std::vector<std::string> items;
  bool comboEnabled;
  int current;
  std::optional<Octets> ip, netmask, gateway;
  bool dhcp;
  std::string label0, label1, portCountText, bondMode;
  PortFields port0, port1;
};
void PrintTo(const ShapeCase& c, std::ostream* out) { *out << c.name; }

class Shapes : public PanelTest, public ::testing::WithParamInterface<ShapeCase> {};

TEST_P(Shapes, FillThePanelFromTheRecordAndTheRow) {
  const ShapeCase& c = GetParam();
  SetBoxes({{kAlpha, c.box}});
  Open();
  SelectAccepted(0);

  ASSERT_TRUE(ui.errors().empty()) << ui.errors().front();
  ui::HeadlessComboBox& interfaces = host->Combo(IDC_INTERFACE);
  EXPECT_EQ(interfaces.items(), c.items);
  EXPECT_EQ(interfaces.IsEnabled(), c.comboEnabled);
  EXPECT_EQ(interfaces.CurSel(), c.current);
  EXPECT_EQ(dialog.previousInterfaceIndex(), c.current);
  EXPECT_EQ(Shown(IDC_IP), c.ip);
  EXPECT_EQ(Shown(IDC_NETMASK), c.netmask);
  EXPECT_EQ(Shown(IDC_GATEWAY), c.gateway);
  EXPECT_EQ(host->Combo(IDC_DHCP).CurSel(), c.dhcp ? 1 : 0);
  EXPECT_EQ(EditorsEnabled(), !c.dhcp);

  const NetworkView& view = dialog.networkView();
  EXPECT_EQ(view.label0.view(), c.label0);
  EXPECT_EQ(view.label1.view(), c.label1);
  EXPECT_EQ(view.portCountText.view(), c.portCountText);
  EXPECT_EQ(view.bondMode.view(), c.bondMode);
  ExpectPort(view.port0, c.port0, "port0");
  ExpectPort(view.port1, c.port1, "port1");
}

const PortFields kP0{"10.0.0.2", "255.0.0.0", "10.0.0.1", "0"};
const PortFields kP1{"172.16.0.2", "255.255.0.0", "172.16.0.1", "0"};
const PortFields kOne{"192.0.2.1", "255.255.255.0", "192.0.2.254", "0"};
const PortFields kNone{"", "", "", ""};

INSTANTIATE_TEST_SUITE_P(
    EveryBox, Shapes,
    ::testing::Values(
        ShapeCase{"TwoPortsPrimaryOneShowsLan2", BoxFields("beta", {kP0, kP1}, "1"), {"LAN1", "LAN2"}, true, 1,
                  Octets{172, 16, 0, 2}, Octets{255, 255, 0, 0}, Octets{172, 16, 0, 1}, false,
                  "LAN1", "LAN2", "2", "0", kP0, kP1},
        ShapeCase{"BondedHasAnEmptySecondItem", BoxFields("bond", {kP0, kP1}, "0", "1"), {"LAN1+LAN2", ""}, true, 0,
                  Octets{10, 0, 0, 2}, Octets{255, 0, 0, 0}, Octets{10, 0, 0, 1}, false,
                  "LAN1+LAN2", "", "2", "", kP0, kP1},
        ShapeCase{"OnePortInADisabledCombo", BoxFields("one", {kOne}), {"LAN"}, false, 0,
                  Octets{192, 0, 2, 1}, Octets{255, 255, 255, 0}, Octets{192, 0, 2, 254}, false,
                  "LAN", "", "1", "", kOne, kNone},
        // Port texts before any port index land in port 0 without counting a port: the row shows them.
        ShapeCase{"NoPortsTakesTheRowTexts",
                  {{FLD_DEVICE_NAME, "bare"}, {FLD_MODEL, "VRX-510L"}, {FLD_PORT_IP, "192.0.2.9"},
                   {FLD_PORT_NETMASK, "255.255.255.0"}, {FLD_PORT_GATEWAY, "192.0.2.1"}},
                  {"LAN"}, false, 0, Octets{192, 0, 2, 9}, Octets{255, 255, 255, 0}, Octets{192, 0, 2, 1}, false,
                  "", "", "", "", PortFields{"192.0.2.9", "255.255.255.0", "192.0.2.1", ""}, kNone},
        ShapeCase{"ZeroGatewayLeavesTheEditorBlank", BoxFields("z", {{"192.0.2.1", "255.255.255.0", "0.0.0.0"}}),
                  {"LAN"}, false, 0, Octets{192, 0, 2, 1}, Octets{255, 255, 255, 0}, std::nullopt, false,
                  "LAN", "", "1", "", PortFields{"192.0.2.1", "255.255.255.0", "0.0.0.0", "0"}, kNone},
        ShapeCase{"EmptyGatewayLeavesTheEditorBlank", BoxFields("e", {{"192.0.2.1", "255.255.255.0", ""}}),
                  {"LAN"}, false, 0, Octets{192, 0, 2, 1}, Octets{255, 255, 255, 0}, std::nullopt, false,
                  "LAN", "", "1", "", PortFields{"192.0.2.1", "255.255.255.0", "", "0"}, kNone},
        ShapeCase{"DhcpBoxGreysTheEditors", BoxFields("d", {{"192.0.2.1", "255.255.255.0", "192.0.2.254", "1"}}),
                  {"LAN"}, false, 0, Octets{192, 0, 2, 1}, Octets{255, 255, 255, 0}, Octets{192, 0, 2, 254}, true,
                  "LAN", "", "1", "", PortFields{"192.0.2.1", "255.255.255.0", "192.0.2.254", "1"}, kNone},
        // A dhcp text longer than its field is cut to one character; a text that is no address shows
        // the all-ones address.
        ShapeCase{"LongTextsAreCutAndBadAddressesShowAllOnes",
                  BoxFields("x", {{"nas.local", "255.255.255.0", "bogus", "10"}}), {"LAN"}, false, 0,
                  Octets{255, 255, 255, 255}, Octets{255, 255, 255, 0}, Octets{255, 255, 255, 255}, true,
                  "LAN", "", "1", "", PortFields{"nas.local", "255.255.255.0", "bogus", "1"}, kNone}),
    [](const auto& each) { return std::string(each.param.name); });

// ---- the login on the way to the panel

class Selection : public PanelTest {
 protected:
  Selection() {
    SetBoxes({{kAlpha, BoxFields("alpha", {kOne})}, {kBeta, BoxFields("beta", {kP0, kP1}, "1")},
              {MakeDeviceId(3), BoxFields("gamma", {{"198.51.100.7", "255.255.255.0", "198.51.100.1"}})}});
    Open();
  }
};

TEST_F(Selection, AcceptedLoginMakesTheBoxTheSelectedOne) {
  SelectAccepted(0);
  ASSERT_EQ(ui.modalRuns().size(), 1u);
  EXPECT_EQ(ui.modalRuns()[0].templateId, IDD_LOGIN);
  EXPECT_EQ(ui.modalRuns()[0].parentTemplateId, IDD_MAIN);
  EXPECT_EQ(Requests(OP_CHECK_PASSWORD).size(), 1u);
  EXPECT_EQ(Requests(OP_GET_SHARES).size(), 1u);
  EXPECT_EQ(protocol.context().SelectedDeviceId, kAlpha);
  EXPECT_EQ(protocol.context().UserName.view(), "admin");
  EXPECT_TRUE(dialog.authTable().IsAuthenticated(DeviceKeyText(kAlpha)));
  EXPECT_EQ(dialog.deviceSelectedMark(), 1);
  EXPECT_EQ(host->focusedId(), IDC_DEVICE_LIST);
  EXPECT_EQ(dialog.currentDeviceAddress().view(), "192.0.2.1");
  EXPECT_EQ(dialog.selectedModelText(), "VRX-530L");
  EXPECT_TRUE(dialog.httpsFlagText().empty());
  EXPECT_EQ(ShareRows(), (Rows{{"Volume_1", ""}, {"usb", ""}}));
  EXPECT_TRUE(ui.messageBoxes().empty());
}

// A refused or cancelled login stops the selection with the panel emptied and the shares of the
// box shown before; the mark is set all the same.
TEST_F(Selection, RefusedOrCancelledLoginLeavesThePanelEmpty) {
  SelectAccepted(0);
  for (bool refused : {true, false}) {
    SCOPED_TRACE(refused ? "refused" : "cancelled");
    host->ClickListRow(IDC_DEVICE_LIST, 0);  // accepted before: no dialog
    const std::size_t checks = Requests(OP_CHECK_PASSWORD).size();
    const std::size_t messages = ui.messageBoxes().size();
    LoginWith("admin", "wrong", /*ok=*/refused);
    host->ClickListRow(IDC_DEVICE_LIST, 1);

    EXPECT_EQ(Requests(OP_CHECK_PASSWORD).size(), checks + (refused ? 2 : 0)) << "sent twice before the message";
    ASSERT_EQ(ui.messageBoxes().size(), messages + (refused ? 1 : 0));
    if (refused) {
      EXPECT_EQ(ui.messageBoxes().back().text, "Wrong administrator password input!");
      EXPECT_EQ(ui.messageBoxes().back().icon, ui::Icon::Error);
    }
    EXPECT_EQ(host->Combo(IDC_INTERFACE).Count(), 0);
    for (int editor : {IDC_IP, IDC_NETMASK, IDC_GATEWAY}) EXPECT_FALSE(Shown(editor));
    EXPECT_EQ(dialog.deviceSelectedMark(), 1);
    EXPECT_EQ(ShareRows(), (Rows{{"Volume_1", ""}, {"usb", ""}}));
    EXPECT_FALSE(dialog.authTable().IsAuthenticated(DeviceKeyText(kBeta)));
  }
  EXPECT_EQ(Requests(OP_GET_SHARES).size(), 3u) << "only for the accepted selections";
  EXPECT_TRUE(ui.errors().empty());
}

TEST_F(Selection, AcceptedBoxIsSelectedAgainWithItsOwnCredentialsAndNoDialog) {
  SelectAccepted(0);
  password = "other";  // beta's password
  SelectAccepted(1);
  EXPECT_EQ(protocol.context().Password.view(), "other");
  host->ClickListRow(IDC_DEVICE_LIST, 0);
  EXPECT_EQ(ui.modalRuns().size(), 2u);
  EXPECT_EQ(Requests(OP_CHECK_PASSWORD).size(), 2u);
  EXPECT_EQ(protocol.context().Password.view(), "secret");
  EXPECT_EQ(protocol.context().SelectedDeviceId, kAlpha);
  EXPECT_EQ(host->Combo(IDC_INTERFACE).items(), std::vector<std::string>{"LAN"});
  EXPECT_TRUE(ui.errors().empty());

  host->Click(IDC_REFRESH);
  SelectAccepted(0);
  EXPECT_EQ(ui.modalRuns().size(), 3u) << "a refresh forgets the login";
}

TEST_F(Selection, RowsThatDoNotSelectLeaveThePanelAsItWas) {
  SelectAccepted(1);
  const std::size_t sent = transport->SentCount();
  auto unchanged = [&](const char* how) {
    SCOPED_TRACE(how);
    EXPECT_EQ(host->Combo(IDC_INTERFACE).items(), (std::vector<std::string>{"LAN1", "LAN2"}));
    EXPECT_EQ(Shown(IDC_IP), (Octets{172, 16, 0, 2}));
    EXPECT_EQ(protocol.context().SelectedDeviceId, kBeta);
    EXPECT_EQ(transport->SentCount(), sent);
    EXPECT_EQ(ui.modalRuns().size(), 1u);
  };
  host->KeyListRow(IDC_DEVICE_LIST, 0);
  unchanged("keyboard move");
  host->ClickListRow(IDC_DEVICE_LIST, -1);
  unchanged("click on empty space");
  host->List(IDC_DEVICE_LIST).SetSelected(0, true);
  dialog.OnListClick(IDC_DEVICE_LIST, ui::NM_CLICK, -1);
  unchanged("click that hit no row while one is selected");
  EXPECT_TRUE(ui.errors().empty());
}

// Enter and Space on the device list select the box of its selected row, as a click does, each request run
// as busy work; Enter in a panel field leaves the window open (it closed it and lost what was typed); Enter on
// a focused picture button is that button's click; Enter anywhere else, the device list without a selected
// row too, still closes it.
TEST_F(Selection, EnterOrSpaceOnTheDeviceListSelectsAndEnterInAPanelFieldKeepsTheWindow) {
  host->KeyListRow(IDC_DEVICE_LIST, 1);
  LoginWith(user, password);
  host->PressEnter();
  EXPECT_EQ(protocol.context().SelectedDeviceId, kBeta);
  EXPECT_EQ(ShareRows(), (Rows{{"Volume_1", ""}, {"usb", ""}}));
  host->KeyListRow(IDC_DEVICE_LIST, 0);
  LoginWith(user, password);
  host->PressSpaceOnList(IDC_DEVICE_LIST);
  EXPECT_EQ(protocol.context().SelectedDeviceId, kAlpha);
  EXPECT_EQ(ui.modalRuns().size(), 2u);
  EXPECT_EQ(host->busyRuns(), 6) << "the drive map, the first search, then per selection the check and the shares";
  EXPECT_EQ(host->waitCursorDepth(), 0);

  for (int field : {IDC_IP, IDC_NETMASK, IDC_GATEWAY, IDC_INTERFACE, IDC_DHCP, IDC_DRIVE_LETTER}) {
    host->Item(field).SetFocus();
    host->PressEnter();
    EXPECT_FALSE(host->ended()) << "Enter in field " << field;
  }
  host->Click(IDC_REFRESH);
  EXPECT_EQ(host->focusedId(), IDC_REFRESH) << "the button, disabled while it searches, keeps the focus";
  const std::size_t searches = Requests(OP_SEARCH).size();
  host->PressEnter();
  EXPECT_EQ(Requests(OP_SEARCH).size(), searches + 1) << "Enter on the focused Refresh button is its click";
  ui.OnModal(IDD_ABOUT, [](ui::HeadlessHost& about) { about.PressEnter(); });
  host->Item(IDC_ABOUT).SetFocus();
  host->PressEnter();
  EXPECT_EQ(ui.modalRuns().back().templateId, IDD_ABOUT) << "Enter on the focused About button is its click";
  EXPECT_FALSE(host->ended());
  host->Item(IDC_DEVICE_LIST).SetFocus();  // the search left no row selected
  host->PressEnter();
  EXPECT_TRUE(host->ended());
  EXPECT_EQ(host->result(), ui::IDOK);
  EXPECT_TRUE(ui.errors().empty());
}

TEST_F(Selection, SelectedRowAboveTheViewOrWithoutItsBoxCountsAsNone) {
  SelectAccepted(1);
  host->List(IDC_DEVICE_LIST).SetTopIndex(1);
  host->ClickListRow(IDC_DEVICE_LIST, 0);
  EXPECT_EQ(host->Combo(IDC_INTERFACE).Count(), 0) << "emptied before the walk";
  EXPECT_FALSE(Shown(IDC_IP));
  EXPECT_EQ(ui.modalRuns().size(), 1u);

  SelectAccepted(2);  // below the top index: found
  EXPECT_EQ(protocol.context().SelectedDeviceId, MakeDeviceId(3));

  host->Click(IDC_REFRESH);
  protocol.ClearDeviceTable();  // the rows outlive their records
  host->ClickListRow(IDC_DEVICE_LIST, 0);
  EXPECT_EQ(dialog.deviceSelectedMark(), 1);
  EXPECT_EQ(ui.modalRuns().size(), 2u) << "no login for a box that is gone";
  EXPECT_TRUE(ui.errors().empty());
}

TEST_F(Selection, BoxWithoutPortsKeepsTheInterfaceIndexShownBefore) {
  SetBoxes({{kBeta, BoxFields("beta", {kP0, kP1}, "1")}, {kAlpha, {{FLD_MODEL, "VRX-510L"}}}});
  host->Click(IDC_REFRESH);
  SelectAccepted(0);
  EXPECT_EQ(dialog.previousInterfaceIndex(), 1);
  SelectAccepted(1);
  EXPECT_EQ(host->Combo(IDC_INTERFACE).items(), std::vector<std::string>{"LAN"});
  EXPECT_EQ(dialog.previousInterfaceIndex(), 1);
}

// ---- the share list

TEST_F(PanelTest, ShareListShowsConvertedNamesWithTheLetterNearestToA) {
  shareNames = "Volume_1:Recycle Bin - Volume_1:usb:M\xC3\xBCsic:caf\xE9";
  drives.SetConnection("Z:", "\\\\alpha\\Volume_1");
  drives.SetConnection("M:", "\\\\192.0.2.1\\volume_1");
  drives.SetConnection("Y:", "\\\\ALPHA\\usb");
  drives.SetConnection("K:", "\\\\alpha\\M\xC3\xBCsic");  // remote names are reported in UTF-8
  drives.SetConnection("J:", "\\\\elsewhere\\usb");
  SetBoxes({{kAlpha, BoxFields("alpha", {kOne})}, {kBeta, BoxFields("beta", {kP0})}});
  Open();
  SelectAccepted(0);
  EXPECT_EQ(ShareRows(), (Rows{{"Volume_1", "M:"}, {"usb", "Y:"}, {"M\xFCsic", "K:"}, {"caf?", ""}}));

  shareNames.reset();  // beta does not answer
  SelectAccepted(1);
  EXPECT_TRUE(ShareRows().empty());
  EXPECT_TRUE(ui.messageBoxes().empty());
}

struct VariantCase {
  const char* name;
  ShareListVariant variant;
  std::vector<std::string_view> hosts;
  Rows rows;
};
void PrintTo(const VariantCase& c, std::ostream* out) { *out << c.name; }

class Variants : public ::testing::TestWithParam<VariantCase> {};

TEST_P(Variants, CompareHostsAndNamesAndHideCompanionsAsTabled) {
  platform::FakeDrives drives;
  drives.SetConnection("Z:", "\\\\alpha\\Volume_1");
  drives.SetConnection("M:", "\\\\ALPHA\\volume_1");
  drives.SetConnection("K:", "\\\\192.0.2.1\\USB");
  DriveMapTable table;
  table.RescanDriveMappings(drives);
  ui::HeadlessControlState state;
  ui::HeadlessFocus focus;
  ui::HeadlessListView list(state, focus);
  list.InsertColumn(0, "Volume Name", 120);
  list.InsertColumn(1, "Location", 111);
  list.InsertItem(0, "stale");
  platform::Latin1TextCodec text;
  std::vector<ShareName> names;
  for (std::string_view name : {"Volume_1", "Recycle Bin - Volume_1", "usb", "Recycle binder"}) names.emplace_back(name);

  ShareListContent content;
  FillShareList(list, names, table, text, GetParam().hosts, GetParam().variant, content);
  Rows rows;
  for (int r = 0; r < list.ItemCount(); ++r) rows.push_back({list.ItemText(r, 0), list.ItemText(r, 1)});
  EXPECT_EQ(rows, GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    EveryVariant, Variants,
    ::testing::Values(
        VariantCase{"Selection", ShareListVariant::Selection, {"alpha", "192.0.2.1"},
                    {{"Volume_1", "M:"}, {"usb", "K:"}, {"Recycle binder", ""}}},
        VariantCase{"AfterUnmapping", ShareListVariant::AfterUnmapping, {"alpha", "192.0.2.1"},
                    {{"Volume_1", "M:"}, {"usb", "K:"}, {"Recycle binder", ""}}},
        VariantCase{"AfterMappingComparesTheHostExactly", ShareListVariant::AfterMapping, {"alpha", "192.0.2.1"},
                    {{"Volume_1", "Z:"}, {"usb", "K:"}, {"Recycle binder", ""}}},
        VariantCase{"AfterInterfaceSwitchListsCompanions", ShareListVariant::AfterInterfaceSwitch, {"192.0.2.1"},
                    {{"Volume_1", ""}, {"Recycle Bin - Volume_1", ""}, {"usb", "K:"}, {"Recycle binder", ""}}}),
    [](const auto& each) { return std::string(each.param.name); });

// ---- address texts as the editors read them

TEST(InetAddress, ReadsTheNumbersAndDotsForms) {
  const std::vector<std::pair<std::string, std::optional<Octets>>> cases{
      {"192.0.2.1", Octets{192, 0, 2, 1}},     {"10.1", Octets{10, 0, 0, 1}},
      {"10.1.2", Octets{10, 1, 0, 2}},         {"0x7f.1", Octets{127, 0, 0, 1}},
      {"010.0.0.1", Octets{8, 0, 0, 1}},       {"3232235777", Octets{192, 168, 1, 1}},
      {"1.2.3.4 ", Octets{1, 2, 3, 4}},        {"255.255.255.255", Octets{255, 255, 255, 255}},
      {"", std::nullopt},                      {"1.2.3.256", std::nullopt},
      {"1.2.3.4.5", std::nullopt},             {"1..2", std::nullopt},
      {"1.2.3.", std::nullopt},                {"09.1.1.1", std::nullopt},
      {"1.2.3.4x", std::nullopt},              {"4294967296", std::nullopt},
      {"1.16777216", std::nullopt},            {" 1.2.3.4", std::nullopt},
  };
  for (const auto& [textIn, expected] : cases) EXPECT_EQ(ParseInetAddress(textIn), expected) << textIn;
}

}  // namespace
}  // namespace quorvel::testkit
