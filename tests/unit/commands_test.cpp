// Commands to the selected box: what is sent, on which interface, how replies are judged and how
// long a command waits.
#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "fake_transport.h"

namespace quorvel {
namespace {

using namespace std::string_literals;
using testkit::Box;
using testkit::ByteVector;
using testkit::Datagram;
using testkit::FieldList;
using testkit::MakeDeviceId;
using testkit::OpcodeOf;
using testkit::ReplyBuilder;
using testkit::Rig;
using testkit::SearchAnswers;

constexpr std::int64_t kDrainCap = DRAIN_CAP_MICROS;
constexpr std::int64_t kSettle = 50'000;
constexpr std::int64_t kCost = testkit::FakeTransport::kDatagramCostMicros;
constexpr int kBoxInterface = 1;

const DeviceId kBox = MakeDeviceId(1);

enum class Command { CheckPassword, FetchShareNames, SetDhcp, SetStatic };

const char* NameOf(Command c) {
  switch (c) {
    case Command::CheckPassword: return "CheckPassword";
    case Command::FetchShareNames: return "FetchShareNames";
    case Command::SetDhcp: return "SetDhcp";
    case Command::SetStatic: return "SetStatic";
  }
  return "";
}

FieldList TwoPortBox(const char* primary) {
  return {{FLD_MODEL, "VRX-530L"},      {FLD_PRIMARY_PORT, primary}, {FLD_PORT_INDEX, "0"},
          {FLD_PORT_ADDR_A, "a0"},      {FLD_PORT_ADDR_B, "b0"},     {FLD_PORT_OPTION, "0"},
          {FLD_PORT_INDEX, "1"},        {FLD_PORT_ADDR_A, "a1"},     {FLD_PORT_ADDR_B, "b1"},
          {FLD_PORT_OPTION, "7"}};
}

// A reply with this status (and fields) to whatever was asked, after `delay`.
Box Replying(std::uint16_t status, std::int64_t delay, FieldList fields = {}) {
  return [=](const ByteVector& request) {
    ReplyBuilder reply(request);
    reply.Status(status).Device(kBox);
    for (const auto& [code, value] : fields) reply.Field(code, value);
    return std::vector<Datagram>{{reply.Build(), delay}};
  };
}

// The fields of a request after its credential block, read straight from the bytes.
std::vector<std::pair<int, std::string>> RequestFields(const ByteVector& request) {
  std::vector<std::pair<int, std::string>> fields;
  auto u16 = [&](std::size_t at) { return std::to_integer<int>(request[at]) | std::to_integer<int>(request[at + 1]) << 8; };
  for (std::size_t at = 172; at + 4 <= request.size();) {
    const int length = u16(at + 2);
    if (length < 4 || at + length > request.size()) break;
    fields.emplace_back(u16(at), std::string(reinterpret_cast<const char*>(request.data()) + at + 4, length - 4));
    at += length;
  }
  return fields;
}

class Commands : public ::testing::Test {
 protected:
  Commands() : rig({"198.51.100.20", "203.0.113.20"}) {
    Discover(TwoPortBox("0"));
    context().SelectedDeviceId = kBox;
    context().UserName = "admin";
    context().Password = "secret";
  }

  // Searches again; the box on interface 1 answers with these fields and then hands every
  // command to `answer`.
  void Discover(const FieldList& fields) {
    rig.transport->SetBox(kBoxInterface, SearchAnswers({{kBox, fields}}, [this](const ByteVector& r) {
                            return answer ? answer(r) : std::vector<Datagram>{};
                          }));
    rig.protocol.SearchDevices();
    ASSERT_TRUE(rig.protocol.IsKnownDevice(kBox));
  }

  bool Run(Command command) {
    switch (command) {
      case Command::CheckPassword: return rig.protocol.CheckPassword();
      case Command::FetchShareNames: return rig.protocol.FetchShareNames();
      case Command::SetDhcp: return rig.protocol.SetNetworkSettings(true);
      case Command::SetStatic: return rig.protocol.SetNetworkSettings(false);
    }
    return false;
  }

  // The last request that reached the box.
  const ByteVector& LastRequest() { return rig.transport->Sent(kBoxInterface).back(); }
  CommandContext& context() { return rig.protocol.context(); }

  Rig rig;
  Box answer;
};

TEST_F(Commands, CheckPasswordGoesOnlyToTheBoxInterfaceWithHeaderAndCredentials) {
  context().Password = "";
  answer = Replying(1, 0);
  EXPECT_TRUE(rig.protocol.CheckPassword());
  EXPECT_EQ(rig.transport->Sent(0).size(), 1u);  // the search only
  ASSERT_EQ(rig.transport->Sent(kBoxInterface).size(), 2u);
  const ByteVector& request = LastRequest();
  ASSERT_EQ(request.size(), 172u);
  EXPECT_EQ(OpcodeOf(request), OP_CHECK_PASSWORD);
  EXPECT_TRUE(std::equal(kBox.begin(), kBox.end(), request.begin() + 16,
                         [](std::uint8_t a, std::byte b) { return a == std::to_integer<std::uint8_t>(b); }));
  EXPECT_EQ(std::to_integer<int>(request[42]), 128);
  const std::string auth(reinterpret_cast<const char*>(request.data()) + 44, 128);
  EXPECT_EQ(auth, "YWRtaW4=" + std::string(120, '\0'));
}

struct StatusCase {
  std::uint16_t status;
  bool result;
};

class CheckPasswordStatus : public Commands, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(CheckPasswordStatus, TheFirstValidReplyDecidesAtOnce) {
  answer = Replying(GetParam().status, 70'000);
  const std::int64_t start = rig.Now();
  EXPECT_EQ(rig.protocol.CheckPassword(), GetParam().result);
  EXPECT_EQ(rig.Now() - start, 70'000 + kCost);
}

INSTANTIATE_TEST_SUITE_P(Statuses, CheckPasswordStatus,
                         ::testing::Values(StatusCase{1, true}, StatusCase{0, false}, StatusCase{2, false},
                                           StatusCase{0x0101, false}));

class EveryCommand : public Commands, public ::testing::WithParamInterface<Command> {};

TEST_P(EveryCommand, AnUnknownBoxFailsAtOnceWithoutSending) {
  answer = Replying(1, 0, {{FLD_DEVICE_NAME, "s"}});
  ASSERT_TRUE(rig.protocol.FetchShareNames());
  ASSERT_FALSE(rig.protocol.ShareNameList().empty());
  const std::size_t sent = rig.transport->SentCount();
  context().SelectedDeviceId = MakeDeviceId(2);
  const std::int64_t start = rig.Now();
  EXPECT_FALSE(Run(GetParam()));
  EXPECT_EQ(rig.Now() - start, 0);
  EXPECT_EQ(rig.transport->SentCount(), sent);
  // Only the share fetch empties the list, even when it cannot be sent.
  EXPECT_EQ(rig.protocol.ShareNameList().empty(), GetParam() == Command::FetchShareNames);
}

// The longest wait: the pause after sending, 101 polls and 100 pauses of 20 ms.
std::int64_t LongestWait(Command c) {
  const std::int64_t poll = c == Command::CheckPassword || c == Command::SetDhcp ? 30'000 : 10'000;
  return kSettle + 101 * poll + 100 * 20'000;
}

TEST_P(EveryCommand, ASilentBoxIsWaitedForExactlyTheLongestWait) {
  const std::int64_t start = rig.Now();
  EXPECT_FALSE(Run(GetParam()));
  EXPECT_EQ(rig.Now() - start, LongestWait(GetParam()));
}

// A stream that outlasts every wait: the drain ends at its cap, the reply loop at its deadline.
void Stream(Rig& rig) {
  rig.transport->SetChatter(kBoxInterface,
                            testkit::ChatterFor(rig.clock, 60'000'000, ByteVector(80, std::byte{0xA5})));
}

TEST_P(EveryCommand, AStreamOfUnusableDatagramsEndsAtTheDeadline) {
  Stream(rig);
  const std::int64_t start = rig.Now();
  EXPECT_FALSE(Run(GetParam()));
  const std::int64_t deadline = kDrainCap + kSettle + 2 * (LongestWait(GetParam()) - kSettle);
  EXPECT_GE(rig.Now() - start, deadline);
  EXPECT_LE(rig.Now() - start, deadline + kCost);
}

TEST_P(EveryCommand, AValidReplyInsideAStreamIsStillTaken) {
  Stream(rig);
  answer = Replying(1, 500'000);
  const std::int64_t start = rig.Now();
  EXPECT_TRUE(Run(GetParam()));
  EXPECT_GE(rig.Now() - start, kDrainCap + 500'000);
  EXPECT_LE(rig.Now() - start, kDrainCap + 500'000 + 2 * kCost);
}

INSTANTIATE_TEST_SUITE_P(All, EveryCommand,
                         ::testing::Values(Command::CheckPassword, Command::FetchShareNames,
                                           Command::SetDhcp, Command::SetStatic),
                         [](const auto& p) { return std::string(NameOf(p.param)); });

// The check that follows one the box never answered. What the row makes arrives 60 ms into its
// wait with "yes", before the box's own "no" at 65 ms; a "yes" to the earlier check also waits on
// the socket before the send (the drain drops it). Only the own "no" may decide.
struct IntruderCase {
  friend void PrintTo(const IntruderCase& c, std::ostream* out) { *out << c.name; }
  const char* name;
  std::function<ByteVector(const ByteVector& earlier, const ByteVector& request)> make;
};

class Intruders : public Commands, public ::testing::WithParamInterface<IntruderCase> {};

TEST_P(Intruders, OnlyTheAskedBoxsReplyToThisVeryRequestDecides) {
  EXPECT_FALSE(rig.protocol.CheckPassword());
  const ByteVector earlier = LastRequest();
  rig.transport->Inject(kBoxInterface, ReplyBuilder(earlier).Device(kBox).Status(1).Build());
  answer = [&](const ByteVector& request) {
    return std::vector<Datagram>{{GetParam().make(earlier, request), 60'000},
                                 {ReplyBuilder(request).Device(kBox).Status(0).Build(), 65'000}};
  };
  const std::int64_t start = rig.Now();
  EXPECT_FALSE(rig.protocol.CheckPassword());
  EXPECT_EQ(rig.Now() - start, kCost + 65'000 + kCost);
  EXPECT_NE(testkit::TagOf(LastRequest()), testkit::TagOf(earlier));
}

ByteVector Yes(const ByteVector& answered, const DeviceId& box) { return ReplyBuilder(answered).Device(box).Status(1).Build(); }
ByteVector OtherTag(const ByteVector& r) {
  ClientId other = testkit::TagOf(r);
  other[7] ^= 0xFF;
  return ReplyBuilder(OP_CHECK_PASSWORD, other).Device(kBox).Status(1).Build();
}
using Made = ByteVector (*)(const ByteVector& earlier, const ByteVector& request);

INSTANTIATE_TEST_SUITE_P(
    Datagrams, Intruders,
    ::testing::Values(
        IntruderCase{"TheEarlierCheckAnsweredLate", Made([](auto& e, auto&) { return Yes(e, kBox); })},
        IntruderCase{"AnotherBoxWithThisTag", Made([](auto&, auto& r) { return Yes(r, MakeDeviceId(7)); })},
        IntruderCase{"AnotherBoxWithTheEarlierTag", Made([](auto& e, auto&) { return Yes(e, MakeDeviceId(7)); })},
        IntruderCase{"AnotherProgram", Made([](auto&, auto& r) { return OtherTag(r); })},
        IntruderCase{"OtherOpcode", Made([](auto&, auto& r) { return ReplyBuilder(r).Opcode(OP_SEARCH).Status(1).Build(); })},
        IntruderCase{"RequestMagic", Made([](auto&, auto& r) { return ReplyBuilder(r).Magic(REQUEST_MAGIC).Status(1).Build(); })},
        IntruderCase{"PayloadLengthWrong", Made([](auto&, auto& r) { return ReplyBuilder(r).Status(1).PayloadLength(2).Build(); })}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(Commands, EveryCommandCarriesAFreshTag) {
  answer = Replying(1, 1'000, {{1, "x"}});
  std::vector<ClientId> tags{testkit::TagOf(rig.transport->Sent(kBoxInterface)[0])};  // the search's
  for (int round = 0; round < 2; ++round) {
    for (Command command : {Command::CheckPassword, Command::FetchShareNames, Command::SetStatic}) {
      ASSERT_TRUE(Run(command));
      tags.push_back(testkit::TagOf(LastRequest()));
    }
  }
  std::sort(tags.begin(), tags.end());
  EXPECT_EQ(std::adjacent_find(tags.begin(), tags.end()), tags.end());
}

struct SharesCase {
  friend void PrintTo(const SharesCase& c, std::ostream* out) { *out << c.name; }
  const char* name;
  FieldList fields;
  std::vector<std::string> names;
};

class FetchShareNamesTest : public Commands, public ::testing::WithParamInterface<SharesCase> {};

TEST_P(FetchShareNamesTest, TakesTheFirstFieldsNamesOnceEachInOrder) {
  answer = Replying(0, 1'000, GetParam().fields);
  EXPECT_TRUE(rig.protocol.FetchShareNames());
  std::vector<std::string> names;
  for (const ShareName& name : rig.protocol.ShareNameList()) names.push_back(name.str());
  EXPECT_EQ(names, GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, FetchShareNamesTest,
    ::testing::Values(
        SharesCase{"RepeatsAndEmptyPieces", {{1, "a:b::a:"}}, {"a", "b"}},
        SharesCase{"LeadingColon", {{1, ":Volume_1:usb"}}, {"Volume_1", "usb"}},
        SharesCase{"CaseSensitive", {{1, "A:a"}}, {"A", "a"}},
        SharesCase{"Utf8", {{1, "M\xC3\xBCsic:x"}}, {"M\xC3\xBCsic", "x"}},
        SharesCase{"OnlyTheFirstFieldWhateverItsCode", {{FLD_MODEL, "one"}, {1, "two"}}, {"one"}},
        SharesCase{"EmptyFirstField", {{1, ""}, {1, "two"}}, {}},
        SharesCase{"NoField", {}, {}},
        SharesCase{"NameOf255Kept256Dropped", {{1, std::string(255, 'k') + ":" + std::string(256, 'd') + ":z"}},
                   {std::string(255, 'k'), "z"}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(Commands, FetchShareNamesThatTimesOutLeavesTheListEmpty) {
  answer = Replying(1, 1'000, {{1, "x:y"}});
  ASSERT_TRUE(rig.protocol.FetchShareNames());
  ASSERT_EQ(rig.protocol.ShareNameList().size(), 2u);
  EXPECT_EQ(rig.protocol.ShareNamesStatus(), 1);
  answer = nullptr;
  EXPECT_FALSE(rig.protocol.FetchShareNames());
  EXPECT_TRUE(rig.protocol.ShareNameList().empty());
  EXPECT_EQ(rig.protocol.ShareNamesStatus(), 0) << "no reply, no status of an earlier one";
}

// Caught: the share fetch judging the status, which the console does not: names of a status-0 reply count.
TEST_F(Commands, FetchShareNamesTakesTheNamesWhateverTheStatusAndKeepsIt) {
  answer = Replying(0, 1'000, {{1, "x"}});
  EXPECT_TRUE(rig.protocol.FetchShareNames());
  ASSERT_EQ(rig.protocol.ShareNameList().size(), 1u);
  EXPECT_EQ(rig.protocol.ShareNamesStatus(), 0);
  answer = Replying(2, 1'000, {{1, "x"}});
  EXPECT_TRUE(rig.protocol.FetchShareNames());
  EXPECT_EQ(rig.protocol.ShareNamesStatus(), 2);
}

TEST_F(Commands, SetNetworkSettingsSendsTheEightFieldsInOrderEvenWhenEmpty) {
  context().SelectedPortText = "LAN1";
  context().NewIpText = "198.51.100.77";
  context().NewNetmaskText = "255.255.255.0";
  context().NewGatewayText = "";
  Discover({{FLD_MODEL, "VRX-510L"}, {FLD_PORT_INDEX, "0"}, {FLD_PORT_OPTION, "1"}});
  for (const bool dhcp : {false, true}) {
    answer = Replying(dhcp ? 1 : 3, 1'000);
    EXPECT_EQ(rig.protocol.SetNetworkSettings(dhcp), dhcp);
    const ByteVector& request = LastRequest();
    EXPECT_EQ(OpcodeOf(request), OP_SET_NETWORK);
    EXPECT_EQ(std::to_integer<std::size_t>(request[42]) | std::to_integer<std::size_t>(request[43]) << 8,
              request.size() - 44);
    const std::vector<std::pair<int, std::string>> expected = {
        {FLD_PORT_IP, "198.51.100.77\0\0\0"s},
        {FLD_PORT_NETMASK, "255.255.255.0\0\0\0"s},
        {FLD_PORT_GATEWAY, ""},
        {FLD_PORT_ADDR_A, ""},
        {FLD_PORT_ADDR_B, ""},
        {FLD_PORT_OPTION, "1\0\0\0"s},
        {FLD_PORT_INDEX, "0\0\0\0"s},
        {FLD_PORT_DHCP, dhcp ? "1\0\0\0"s : "0\0\0\0"s},
    };
    EXPECT_EQ(RequestFields(request), expected);
    EXPECT_EQ(request.size(), 172u + 20 + 20 + 4 + 4 + 4 + 8 + 8 + 8);
  }
}

struct PortCase {
  friend void PrintTo(const PortCase& c, std::ostream* out) { *out << c.name; }
  const char* name;
  int ports;            // how many port index fields the box sends
  const char* primary;  // its primary port
  const char* selection;
  std::string index;  // what the request carries
  std::string addrA;
  std::string addrB;
  std::string option;
};

class PortSelection : public Commands, public ::testing::WithParamInterface<PortCase> {};

FieldList BoxWithPorts(int ports, const char* primary) {
  if (ports == 2) return TwoPortBox(primary);
  FieldList fields = {{FLD_MODEL, "VRX-510L"}, {FLD_PRIMARY_PORT, primary}};
  const bool second = ports == 1 && std::string(primary) == "1";
  if (ports == 1) fields.push_back({FLD_PORT_INDEX, second ? "1" : "0"});
  fields.insert(fields.end(), {{FLD_PORT_ADDR_A, second ? "a1" : "a0"},
                               {FLD_PORT_ADDR_B, second ? "b1" : "b0"},
                               {FLD_PORT_OPTION, second ? "7" : "0"}});
  return fields;
}

TEST_P(PortSelection, TheRequestCarriesTheChosenPortsIndexAndEchoes) {
  const PortCase& c = GetParam();
  Discover(BoxWithPorts(c.ports, c.primary));
  context().SelectedPortText = c.selection;
  answer = Replying(1, 1'000);
  EXPECT_TRUE(rig.protocol.SetNetworkSettings(false));
  const auto fields = RequestFields(LastRequest());
  ASSERT_EQ(fields.size(), 8u);
  auto text = [](const std::string& value) { return value.substr(0, value.find('\0')); };
  EXPECT_EQ(text(fields[3].second), c.addrA);
  EXPECT_EQ(text(fields[4].second), c.addrB);
  EXPECT_EQ(text(fields[5].second), c.option);
  EXPECT_EQ(text(fields[6].second), c.index);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, PortSelection,
    ::testing::Values(
        PortCase{"TwoPortsLan1", 2, "1", "LAN1", "0", "a0", "b0", "0"},
        PortCase{"TwoPortsLan2", 2, "0", "LAN2", "1", "a1", "b1", "1"},
        PortCase{"TwoPortsOtherText", 2, "0", "", "1", "a1", "b1", "1"},
        PortCase{"TwoPortsBondedPrimary1", 2, "1", "LAN1+LAN2", "1", "a1", "b1", "1"},
        PortCase{"TwoPortsBondedPrimary0", 2, "0", "LAN1+LAN2", "0", "a0", "b0", "0"},
        PortCase{"TwoPortsBondedPrimaryOutOfRange", 2, "7", "LAN1+LAN2", "0", "a0", "b0", "0"},
        PortCase{"OnePortPrimary1IgnoresLan1", 1, "1", "LAN1", "1", "a1", "b1", "1"},
        PortCase{"OnePortPrimary0IgnoresLan2", 1, "0", "LAN2", "0", "a0", "b0", "0"},
        PortCase{"OnePortPrimaryOutOfRange", 1, "-3", "LAN2", "0", "a0", "b0", "0"},
        PortCase{"NoPortData", 0, "1", "LAN2", "0", "a0", "b0", "0"}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace quorvel
