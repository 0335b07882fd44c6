// The main window's life: start-up, the device list, refresh, the ways to close it.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "app/vantor_app.h"
#include "app/vantor_dlg.h"
#include "fake_platform.h"
#include "fake_transport.h"
#include "framework/headless/headless_ui.h"
#include "res/resource.h"

namespace quorvel {
namespace {

using testkit::BoxReply;
using testkit::FieldList;
using testkit::MakeDeviceId;

// The fake transport, with a count of how often the sockets were closed.
class CountingTransport final : public Transport {
 public:
  explicit CountingTransport(std::unique_ptr<testkit::FakeTransport> inner) : inner_(std::move(inner)) {}
  bool Start() override { return startResult && inner_->Start(); }
  void Stop() override { ++stops; }
  int InterfaceCount() const override { return inner_->InterfaceCount(); }
  std::string InterfaceAddress(int i) const override { return inner_->InterfaceAddress(i); }
  int InterfacePrefixLength(int i) const override { return inner_->InterfacePrefixLength(i); }
  void SendOnInterface(int i, Bytes request) override {
    inner_->SendOnInterface(i, request);
    if (onSend) onSend();  // as the user acting while the request is out
  }
  Received ReceiveOnInterface(int i, int timeout, PacketBuffer& buffer) override {
    if (beforeReceive) beforeReceive();
    const Received received = inner_->ReceiveOnInterface(i, timeout, buffer);
    if (received.arrived && received.length > 0) ++arrivals;
    return received;
  }
  std::vector<int> WaitReadable(std::span<const int> indices, int timeout) override {
    if (beforeReceive) beforeReceive();
    return inner_->WaitReadable(indices, timeout);
  }
  testkit::FakeTransport& fake() { return *inner_; }

  bool startResult = true;
  int stops = 0;
  std::function<void()> onSend;
  std::function<void()> beforeReceive;  // on the search's thread, before each wait and read
  int arrivals = 0;                     // replies read

 private:
  std::unique_ptr<testkit::FakeTransport> inner_;
};

FieldList Box(const std::string& name, std::vector<std::string> port0, std::vector<std::string> port1 = {},
              const std::string& primary = "0") {
  FieldList fields{{FLD_DEVICE_NAME, name}, {FLD_MODEL, "VRX-510L"}, {FLD_PRIMARY_PORT, primary}};
  auto addPort = [&](const char* index, const std::vector<std::string>& p) {
    if (p.empty()) return;
    fields.push_back({FLD_PORT_INDEX, index});
    fields.push_back({FLD_PORT_IP, p[0]});
    fields.push_back({FLD_PORT_NETMASK, p[1]});
    fields.push_back({FLD_PORT_GATEWAY, p[2]});
  };
  addPort("0", port0);
  addPort("1", port1);
  return fields;
}

class MainWindow : public ::testing::Test {
 protected:
  MainWindow() {
    SetBoxes({{MakeDeviceId(1), Box("alpha", {"192.0.2.1", "255.255.255.0", "192.0.2.254"})},
              {MakeDeviceId(2), Box("beta", {"10.0.0.2", "255.0.0.0", "10.0.0.1"},
                                    {"172.16.0.2", "255.255.0.0", "172.16.0.1"}, "1")},
              {MakeDeviceId(3), Box("alpha", {})}});
  }

  void SetBoxes(std::vector<BoxReply> boxes) { transport->fake().SetBox(0, testkit::SearchAnswers(std::move(boxes))); }

  ui::HeadlessHost& Open() { return ui.Open(dialog); }

  std::vector<std::vector<std::string>> Rows(ui::HeadlessHost& host, int id) {
    std::vector<std::vector<std::string>> rows;
    ui::ListView& list = host.List(id);
    for (int r = 0; r < list.ItemCount(); ++r) {
      rows.emplace_back();
      for (int c = 0; c < list.ColumnCount(); ++c) rows.back().push_back(list.ItemText(r, c));
    }
    return rows;
  }

  std::unique_ptr<DeviceProtocol> MakeProtocol(std::vector<std::string> addresses = {"198.51.100.1"}) {
    auto fake = std::make_unique<testkit::FakeTransport>(clock, std::move(addresses));
    auto counting = std::make_unique<CountingTransport>(std::move(fake));
    transport = counting.get();
    auto made = std::make_unique<DeviceProtocol>(std::move(counting), clock);
    made->NetStartup();
    return made;
  }

  testkit::VirtualClock clock;
  CountingTransport* transport = nullptr;
  std::unique_ptr<DeviceProtocol> protocol = MakeProtocol();
  platform::FakePlatform fakes{clock};
  ui::HeadlessUi ui;
  CVantorDlg dialog{*protocol, fakes.platform};
};

TEST_F(MainWindow, StartUpSearchesAndListsEveryBoxInTableOrder) {
  ui::HeadlessHost& host = Open();
  EXPECT_EQ(host.windowText(), "Quorvel");
  EXPECT_EQ(host.icon(), IDI_APPLICATION_ICON);
  EXPECT_EQ(transport->fake().SentCount(), 1u) << "one search while the window is set up";
  // The primary port's columns, port 1 for the second box; a box without port data has empty ones;
  // two boxes of one name both appear.
  EXPECT_EQ(Rows(host, IDC_DEVICE_LIST), (std::vector<std::vector<std::string>>{
                                             {"alpha", "192.0.2.1", "255.255.255.0", "192.0.2.254"},
                                             {"beta", "172.16.0.2", "255.255.0.0", "172.16.0.1"},
                                             {"alpha", "", "", ""}}));
  ui::HeadlessListView& devices = host.List(IDC_DEVICE_LIST);
  const auto& table = protocol->DeviceTable();
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(devices.ItemData(row), reinterpret_cast<std::uintptr_t>(table[row].id.data()));
    EXPECT_FALSE(dialog.authTable().IsAuthenticated(DeviceKeyText(table[row].id)));
  }
  EXPECT_EQ(dialog.authTable().size(), 3u);
  EXPECT_EQ(dialog.deviceSelectedMark(), 0);
  EXPECT_TRUE(ui.messageBoxes().empty());
  EXPECT_TRUE(ui.errors().empty());
}

TEST_F(MainWindow, ListsAndCombosAreSetUpAsTheWindowDescribesThem) {
  ui::HeadlessHost& host = Open();
  auto headers = [](ui::HeadlessListView& list) {
    std::vector<std::pair<std::string, int>> out;
    for (const auto& column : list.columns()) out.emplace_back(column.header, column.width);
    return out;
  };
  EXPECT_EQ(headers(host.List(IDC_DEVICE_LIST)),
            (std::vector<std::pair<std::string, int>>{{"Name", 94}, {"IP", 85}, {"Netmask", 85}, {"Gateway", 85}}));
  EXPECT_EQ(headers(host.List(IDC_SHARE_LIST)),
            (std::vector<std::pair<std::string, int>>{{"Volume Name", 120}, {"Location", 111}}));
  for (int id : {IDC_DEVICE_LIST, IDC_SHARE_LIST}) {
    EXPECT_TRUE(host.List(id).fullRowSelect());
    EXPECT_EQ(host.List(id).textColor(), 0x000000u);
    ASSERT_TRUE(host.List(id).font().has_value());
    EXPECT_EQ(host.List(id).font()->face, "Tahoma");
    EXPECT_EQ(host.List(id).font()->height, 13);
    EXPECT_EQ(host.List(id).font()->weight, 100);
  }
  ui::HeadlessComboBox& dhcp = host.Combo(IDC_DHCP);
  ASSERT_EQ(dhcp.Count(), 2);
  EXPECT_EQ(dhcp.ItemText(0), "Disable");
  EXPECT_EQ(dhcp.ItemText(1), "Enable");
  EXPECT_EQ(host.Combo(IDC_INTERFACE).Count(), 0);
  EXPECT_FALSE(host.Combo(IDC_INTERFACE).IsEnabled());
  EXPECT_TRUE(host.Item(IDC_REFRESH).IsEnabled());
}

TEST_F(MainWindow, DriveLetterBoxIsFilledFromTheMappingsAtStartUp) {
  fakes.drives.SetDriveType("C:", platform::kDriveFixed);
  fakes.drives.SetConnection("Z:", "\\\\nas\\Volume1");
  ui::HeadlessHost& host = Open();
  ui::HeadlessComboBox& letters = host.Combo(IDC_DRIVE_LETTER);
  ASSERT_EQ(letters.Count(), 23);  // Z: to D:, C: fixed, A: and B: never
  EXPECT_EQ(letters.ItemText(0), "Z: \\\\nas\\Volume1");
  EXPECT_EQ(letters.ItemText(1), "Y:");
  EXPECT_EQ(letters.CurSel(), 1);
}

TEST_F(MainWindow, RefreshEmptiesThePanelsAndForgetsLogins) {
  ui::HeadlessHost& host = Open();
  const std::string gone = DeviceKeyText(MakeDeviceId(3));
  // What a selection and login would have left behind.
  host.Combo(IDC_INTERFACE).AddString("LAN");
  host.Combo(IDC_INTERFACE).Enable(true);
  host.Address(IDC_IP).SetAddress({192, 0, 2, 1});
  host.List(IDC_SHARE_LIST).InsertItem(0, "Volume1");
  const_cast<AuthTable&>(dialog.authTable()).Find(DeviceKeyText(MakeDeviceId(1)))->authenticated = true;

  SetBoxes({{MakeDeviceId(1), Box("alpha", {"192.0.2.1", "255.255.255.0", "192.0.2.254"})},
            {MakeDeviceId(2), Box("beta", {"10.0.0.2", "255.0.0.0", "10.0.0.1"})}});
  host.Click(IDC_REFRESH);

  EXPECT_EQ(transport->fake().SentCount(), 2u);
  EXPECT_EQ(host.List(IDC_DEVICE_LIST).ItemCount(), 2) << "the box that stopped answering is gone";
  EXPECT_EQ(host.List(IDC_SHARE_LIST).ItemCount(), 0);
  EXPECT_EQ(host.Combo(IDC_INTERFACE).Count(), 0);
  EXPECT_FALSE(host.Combo(IDC_INTERFACE).IsEnabled());
  for (int editor : {IDC_IP, IDC_NETMASK, IDC_GATEWAY}) EXPECT_TRUE(host.Address(editor).IsBlank());
  EXPECT_FALSE(dialog.authTable().IsAuthenticated(DeviceKeyText(MakeDeviceId(1))));
  EXPECT_EQ(dialog.authTable().size(), 2u);
  EXPECT_EQ(const_cast<AuthTable&>(dialog.authTable()).Find(gone), nullptr);
  EXPECT_TRUE(host.Item(IDC_REFRESH).IsEnabled());
  EXPECT_EQ(host.Combo(IDC_DHCP).Count(), 2) << "the DHCP box is not touched";
}

TEST_F(MainWindow, RefreshThatFindsNothingShowsNoMessage) {
  ui::HeadlessHost& host = Open();
  SetBoxes({});
  host.Click(IDC_REFRESH);
  EXPECT_EQ(host.List(IDC_DEVICE_LIST).ItemCount(), 0);
  EXPECT_EQ(dialog.authTable().size(), 0u);
  EXPECT_TRUE(ui.messageBoxes().empty());
}

TEST_F(MainWindow, AboutBoxRunsModallyAndReturns) {
  ui.OnModal(IDD_ABOUT, [](ui::HeadlessHost& about) { about.Click(ui::IDOK); });
  ui::HeadlessHost& host = Open();
  host.Click(IDC_ABOUT);
  ASSERT_EQ(ui.modalRuns().size(), 1u);
  EXPECT_EQ(ui.modalRuns()[0].templateId, IDD_ABOUT);
  EXPECT_TRUE(host.isOpen());
  EXPECT_TRUE(ui.errors().empty());
}

TEST_F(MainWindow, MinimiseButtonMinimisesAndKeepsTheWindowOpen) {
  ui::HeadlessHost& host = Open();
  host.Click(IDC_MINIMIZE);
  EXPECT_EQ(host.minimized(), 1);
  EXPECT_TRUE(host.isOpen());
  EXPECT_EQ(transport->stops, 0);
}

// Every way of closing the window ends it and runs the clean-up exactly once.
class Closing : public MainWindow, public ::testing::WithParamInterface<const char*> {};

TEST_P(Closing, EndsTheWindowWithTheCleanUpOnce) {
  ui::HeadlessHost& host = Open();
  const std::string way = GetParam();
  if (way == "exit") host.Click(IDC_EXIT);
  if (way == "close button") host.Click(IDC_CLOSE);
  if (way == "escape") host.PressEscape();
  if (way == "enter") host.PressEnter();
  if (way == "close request") host.Close();
  EXPECT_TRUE(host.ended());
  EXPECT_EQ(transport->stops, 1);
  EXPECT_TRUE(protocol->DeviceTable().empty());
  EXPECT_TRUE(protocol->ShareNameList().empty());
  EXPECT_EQ(dialog.authTable().size(), 0u);
  EXPECT_TRUE(ui.errors().empty());
}

INSTANTIATE_TEST_SUITE_P(EveryWay, Closing,
                         ::testing::Values("exit", "close button", "escape", "enter", "close request"),
                         [](const ::testing::TestParamInfo<const char*>& param) {
                           std::string name = param.param;
                           for (char& c : name) if (c == ' ') c = '_';
                           return name;
                         });

// The window is set up and shown first; its posted start message reads the drives and searches.
TEST_F(MainWindow, StartUpSearchesOnlyOnItsPostedMessage) {
  ui::HeadlessHost& host = ui.Open(dialog, /*holdPosted=*/true);
  EXPECT_EQ(host.windowText(), "Quorvel");
  EXPECT_EQ(transport->fake().SentCount(), 0u) << "nothing waits while the window is set up";
  EXPECT_EQ(host.busyRuns(), 0);
  EXPECT_EQ(host.List(IDC_DEVICE_LIST).ItemCount(), 0);
  host.DeliverHeldPosts();
  EXPECT_EQ(transport->fake().SentCount(), 1u);
  EXPECT_EQ(host.busyRuns(), 2) << "the drive map, then the search";
  EXPECT_EQ(host.List(IDC_DEVICE_LIST).ItemCount(), 3);
  EXPECT_FALSE(host.Combo(IDC_DRIVE_LETTER).items().empty());
}

// While Refresh's search is out: a close ends it at its next poll and then closes the window; another click on
// Refresh is dropped, and the focus stays on Refresh.
TEST_F(MainWindow, InputDuringTheSearchIsDroppedAndACloseEndsItAtItsNextPoll) {
  struct Case {
    const char* name;
    std::function<void(ui::HeadlessHost&)> act;
    bool closes;
  };
  const std::vector<Case> cases = {
      {"close request", [](ui::HeadlessHost& h) { h.Close(); }, true},
      {"Escape", [](ui::HeadlessHost& h) { h.PressEscape(); }, true},
      {"Exit", [](ui::HeadlessHost& h) { h.Click(IDC_EXIT); }, true},
      {"Close disc", [](ui::HeadlessHost& h) { h.Click(IDC_CLOSE); }, true},
      {"Refresh again", [](ui::HeadlessHost& h) { h.Click(IDC_REFRESH); }, false},
      {"a device row", [](ui::HeadlessHost& h) { h.ClickListRow(IDC_DEVICE_LIST, 0); }, false},
  };
  for (const Case& c : cases) {
    ui::HeadlessUi caseUi;
    auto caseProtocol = MakeProtocol();
    SetBoxes({{MakeDeviceId(1), Box("alpha", {"192.0.2.1", "255.255.255.0", "192.0.2.254"})}});
    CVantorDlg caseDialog(*caseProtocol, fakes.platform);
    ui::HeadlessHost& host = caseUi.Open(caseDialog);
    int acted = 0;
    transport->onSend = [&] {
      if (acted++ == 0) c.act(host);
    };
    host.Item(IDC_REFRESH).SetFocus();
    const std::int64_t start = clock.NowMicros();
    host.Click(IDC_REFRESH);
    EXPECT_EQ(transport->fake().SentCount(), 2u) << c.name << ": the start's search and Refresh's";
    // A close ends the search at its next poll; other input leaves it its full course of polls.
    const std::int64_t polls = (clock.NowMicros() - start) / SEARCH_POLL_MICROS;
    EXPECT_EQ(polls < 3, c.closes) << c.name << ": " << polls << " polls";
    EXPECT_EQ(host.isOpen(), !c.closes) << c.name;
    if (!c.closes) {
      EXPECT_EQ(host.droppedInput(), 1) << c.name;
      EXPECT_EQ(host.List(IDC_DEVICE_LIST).ItemCount(), 1) << c.name;
      EXPECT_TRUE(host.List(IDC_DEVICE_LIST).SelectedRows().empty()) << c.name;
      EXPECT_EQ(host.focusedId(), IDC_REFRESH) << c.name;
    }
    EXPECT_TRUE(caseUi.errors().empty()) << c.name;
  }
}

// Enter during the start-up search: in a panel field, where an idle Enter does nothing, it is dropped and
// the search runs its course; on the device list, emptied for the search, it closes the window.
TEST_F(MainWindow, EnterDuringTheSearchClosesOnlyWhereAnIdleEnterWould) {
  for (const auto& [focus, closes] : {std::pair{IDC_IP, false}, std::pair{IDC_DEVICE_LIST, true}}) {
    ui::HeadlessUi caseUi;
    auto caseProtocol = MakeProtocol();
    CVantorDlg caseDialog(*caseProtocol, fakes.platform);
    ui::HeadlessHost& host = caseUi.Open(caseDialog, /*holdPosted=*/true);
    host.Item(focus).SetFocus();
    transport->onSend = [&] { host.PressEnter(); };
    const std::int64_t start = clock.NowMicros();
    host.DeliverHeldPosts();
    const std::int64_t polls = (clock.NowMicros() - start) / SEARCH_POLL_MICROS;
    EXPECT_EQ(polls < 3, closes) << focus << ": " << polls << " polls";
    EXPECT_EQ(host.isOpen(), !closes) << focus;
    EXPECT_EQ(host.droppedInput(), closes ? 0 : 1) << focus;
    EXPECT_TRUE(caseUi.errors().empty()) << focus;
  }
}

// The start's search on two networks: interface 1's boxes answer first, interface 0's come later and go above
// them, and the box heard on both moves up with interface 0's record. Each box is on screen as it answers,
// in a row without item data; at the end the rows are the table's, as a list filled after the search.
// Threaded, the search runs on a worker that waits after each reply until the window has shown it, so every
// row seen was on screen while the search still ran.
TEST_F(MainWindow, TheListFillsAsTheBoxesAnswerInTheTablesOrderAndEndsAsTheTable) {
  for (const bool threaded : {false, true}) {
    SCOPED_TRACE(threaded ? "threaded" : "in line");
    ui::HeadlessUi twoNetUi;
    twoNetUi.SetThreaded(threaded);
    auto twoNets = MakeProtocol({"198.51.100.1", "203.0.113.1"});
    const auto box = [](const char* name, const char* ip) { return Box(name, {ip, "255.255.255.0", "192.0.2.254"}); };
    transport->fake().SetBox(0, testkit::SearchAnswers({{MakeDeviceId(1), box("alpha", "198.51.100.10"), 4000},
                                                        {MakeDeviceId(2), box("beta", "198.51.100.11"), 5500},
                                                        {MakeDeviceId(3), box("both", "198.51.100.12"), 6000}}));
    transport->fake().SetBox(1, testkit::SearchAnswers({{MakeDeviceId(4), box("gamma", "203.0.113.10"), 1000},
                                                        {MakeDeviceId(3), box("both", "203.0.113.12"), 2000},
                                                        {MakeDeviceId(5), box("delta", "203.0.113.11"), 5000}}));
    CVantorDlg window(*twoNets, fakes.platform);
    ui::HeadlessHost& host = twoNetUi.Open(window, /*holdPosted=*/true);
    std::vector<std::vector<std::string>> shown;  // "name ip" of each row, after each box's arrival
    bool itemDataDuringWork = false;
    std::mutex seen;
    std::condition_variable shownMore;
    host.WatchProgress([&] {
      ui::ListView& list = host.List(IDC_DEVICE_LIST);
      std::lock_guard<std::mutex> lock(seen);
      shown.emplace_back();
      for (int row = 0; row < list.ItemCount(); ++row) {
        shown.back().push_back(list.ItemText(row, 0) + " " + list.ItemText(row, 1));
        itemDataDuringWork |= list.ItemData(row) != 0;
      }
      shownMore.notify_all();
    });
    bool notShownDuringSearch = false;  // a reply whose row did not come while the search waited for it
    if (threaded) {
      transport->beforeReceive = [&, counting = transport] {
        std::unique_lock<std::mutex> lock(seen);
        if (notShownDuringSearch) return;
        notShownDuringSearch = !shownMore.wait_for(lock, std::chrono::seconds(2), [&] {
          return static_cast<int>(shown.size()) >= counting->arrivals;
        });
      };
    }
    host.DeliverHeldPosts();
    using Rows = std::vector<std::string>;
    EXPECT_EQ(shown, (std::vector<Rows>{
                         {"gamma 203.0.113.10"},
                         {"gamma 203.0.113.10", "both 203.0.113.12"},
                         {"alpha 198.51.100.10", "gamma 203.0.113.10", "both 203.0.113.12"},
                         {"alpha 198.51.100.10", "gamma 203.0.113.10", "both 203.0.113.12", "delta 203.0.113.11"},
                         {"alpha 198.51.100.10", "beta 198.51.100.11", "gamma 203.0.113.10", "both 203.0.113.12",
                          "delta 203.0.113.11"},
                         {"alpha 198.51.100.10", "beta 198.51.100.11", "both 198.51.100.12", "gamma 203.0.113.10",
                          "delta 203.0.113.11"}}));
    EXPECT_FALSE(itemDataDuringWork) << "a row shown during the search points into no record";
    EXPECT_FALSE(notShownDuringSearch);
    const auto& table = twoNets->DeviceTable();
    ui::HeadlessListView& devices = host.List(IDC_DEVICE_LIST);
    ASSERT_EQ(devices.ItemCount(), static_cast<int>(table.size()));
    for (int row = 0; row < devices.ItemCount(); ++row) {
      const DeviceRecord& record = table[static_cast<std::size_t>(row)];
      EXPECT_EQ(devices.ItemText(row, 0) + " " + devices.ItemText(row, 1), shown.back()[static_cast<std::size_t>(row)]);
      EXPECT_EQ(devices.ItemText(row, 0), record.name.view());
      EXPECT_EQ(devices.ItemText(row, 3), "192.0.2.254");
      EXPECT_EQ(devices.ItemData(row), reinterpret_cast<std::uintptr_t>(record.id.data()));
    }
    EXPECT_TRUE(devices.redraws());
    EXPECT_EQ(window.authTable().size(), table.size());
    EXPECT_TRUE(twoNetUi.errors().empty()) << "the rows are shown by the window's side, never by the work";
  }
}

TEST(Application, EndsWithExitCodeOneAndNoWindowWhenTheSocketsCannotStart) {
  testkit::VirtualClock clock;
  auto fake = std::make_unique<testkit::FakeTransport>(clock, std::vector<std::string>{});
  auto counting = std::make_unique<CountingTransport>(std::move(fake));
  counting->startResult = false;
  DeviceProtocol protocol(std::move(counting), clock);
  platform::FakePlatform fakes{clock};
  ui::HeadlessUi ui;
  CVantorApp app(ui, protocol, fakes.platform);
  EXPECT_FALSE(app.InitInstance());
  EXPECT_EQ(app.exitCode(), 1);
  EXPECT_TRUE(ui.modalRuns().empty());
}

TEST(Application, RunsTheMainWindowModallyAndEndsAfterIt) {
  testkit::VirtualClock clock;
  auto fake = std::make_unique<testkit::FakeTransport>(clock, std::vector<std::string>{"198.51.100.1"});
  DeviceProtocol protocol(std::move(fake), clock);
  platform::FakePlatform fakes{clock};
  ui::HeadlessUi ui;
  ui.OnModal(IDD_MAIN, [](ui::HeadlessHost& main) { main.Click(IDC_EXIT); });
  CVantorApp app(ui, protocol, fakes.platform);
  EXPECT_FALSE(app.InitInstance());
  EXPECT_EQ(app.exitCode(), 0);
  ASSERT_EQ(ui.modalRuns().size(), 1u);
  EXPECT_EQ(ui.modalRuns()[0].templateId, IDD_MAIN);
  EXPECT_TRUE(ui.errors().empty());
}

}  // namespace
}  // namespace quorvel
