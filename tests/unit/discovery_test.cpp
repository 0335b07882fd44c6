// Discovery: which replies make records, what a record holds, and how long a search waits.
#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "device_record.h"
#include "fake_transport.h"

namespace quorvel {
namespace {

using testkit::BoxReply;
using testkit::ByteVector;
using testkit::Datagram;
using testkit::FieldList;
using testkit::MakeDeviceId;
using testkit::ReplyBuilder;
using testkit::Rig;
using testkit::SearchAnswers;

constexpr std::int64_t kDrainCap = DRAIN_CAP_MICROS;
constexpr std::int64_t kPoll = 10'000;
constexpr std::int64_t kCost = testkit::FakeTransport::kDatagramCostMicros;
constexpr std::int64_t kQuietSearch = 101 * kPoll;
constexpr std::int64_t kSearchDeadline = 2 * 101 * kPoll;

const DeviceId kBox = MakeDeviceId(1);

FieldList Model(const std::string& model) { return {{FLD_MODEL, model}}; }

// ---- What a reply turns into ----

std::string Describe(const DeviceRecord& r) {
  std::ostringstream out;
  out << "name=" << r.name.view() << " id=" << DeviceKeyText(r.id) << " model=" << r.model.view()
      << " bonded=" << r.bonded << " aux=" << r.auxNumber << " ports=" << r.portCount
      << " primary=" << r.primaryPort << " auxText=" << r.auxText.view() << " if=" << r.interfaceIndex;
  for (const PortSettings& p : r.ports) {
    out << " | " << p.ip.view() << ' ' << p.netmask.view() << ' ' << p.gateway.view() << ' '
        << p.addrA.view() << ' ' << p.addrB.view() << " dhcp=" << p.dhcp.view() << " opt=" << p.option;
  }
  return out.str();
}

struct RecordCase {
  friend void PrintTo(const RecordCase& c, std::ostream* out) { *out << c.name; }
  const char* name;
  ByteVector reply;
  DeviceRecord expected;
};

class RecordFromReplyTest : public ::testing::TestWithParam<RecordCase> {};

TEST_P(RecordFromReplyTest, HoldsWhatTheReplySaysWithinItsWidths) {
  EXPECT_EQ(Describe(RecordFromReply(GetParam().reply, 3)), Describe(GetParam().expected));
}

ReplyBuilder Reply() { return ReplyBuilder(OP_SEARCH, ClientId{}).Device(kBox); }

DeviceRecord Expected(auto&& fill) {
  DeviceRecord record;
  record.id = kBox;
  record.interfaceIndex = 3;
  fill(record);
  return record;
}

PortSettings Port(const char* ip, const char* addrA, const char* dhcp, int option) {
  PortSettings port;
  port.ip = ip;
  port.netmask = "255.255.255.0";
  port.gateway = "198.51.100.1";
  port.addrA = addrA;
  port.addrB = "b";
  port.dhcp = dhcp;
  port.option = option;
  return port;
}

ReplyBuilder& PortFields(ReplyBuilder& reply, const char* ip, const char* addrA, const char* dhcp,
                         const char* option) {
  return reply.Field(FLD_PORT_IP, ip).Field(FLD_PORT_NETMASK, "255.255.255.0")
      .Field(FLD_PORT_GATEWAY, "198.51.100.1").Field(FLD_PORT_ADDR_A, addrA)
      .Field(FLD_PORT_ADDR_B, "b").Field(FLD_PORT_DHCP, dhcp).Field(FLD_PORT_OPTION, option);
}

ByteVector OnePort() {
  ReplyBuilder reply = Reply();
  reply.Field(FLD_DEVICE_NAME, "store").Field(FLD_MODEL, "VRX-510L").Field(FLD_PRIMARY_PORT, "0")
      .Field(FLD_PORT_INDEX, "0");
  return PortFields(reply, "198.51.100.7", "a", "1", "1").Field(FLD_AUX_NUMBER, "-7").Build();
}

ByteVector TwoPorts() {
  ReplyBuilder reply = Reply();
  reply.Field(FLD_MODEL, "VRX-530L").Field(FLD_BONDED, "1").Field(FLD_PRIMARY_PORT, "1")
      .Field(FLD_AUX_TEXT, "aux").Field(FLD_PORT_INDEX, "0");
  PortFields(reply, "198.51.100.7", "a0", "0", "0").Field(FLD_PORT_INDEX, "1");
  return PortFields(reply, "203.0.113.7", "a1", "1", " 12x").Build();
}

ByteVector StrayPortIndex() {
  ReplyBuilder reply = Reply();
  reply.Field(FLD_PORT_INDEX, "0");
  PortFields(reply, "198.51.100.7", "a0", "0", "0").Field(FLD_PORT_INDEX, "1");
  PortFields(reply, "203.0.113.7", "a1", "1", "1").Field(FLD_PORT_INDEX, "5");
  PortFields(reply, "192.0.2.99", "stray", "1", "9").Field(FLD_PORT_INDEX, "-1");
  return PortFields(reply, "192.0.2.98", "stray", "1", "9").Build();
}

ByteVector LongValues() {
  return Reply().Field(FLD_DEVICE_NAME, std::string(300, 'n')).Field(FLD_MODEL, std::string(400, 'm'))
      .Field(FLD_AUX_TEXT, "0123456789abcdef").Field(FLD_PORT_IP, "198.051.100.007.1")
      .Field(FLD_PORT_ADDR_A, "0123456789abcdefgh").Field(FLD_PORT_DHCP, "yes-please").Build();
}

INSTANTIATE_TEST_SUITE_P(
    Replies, RecordFromReplyTest,
    ::testing::Values(
        RecordCase{"OnePort", OnePort(), Expected([](DeviceRecord& r) {
                     r.name = "store";
                     r.model = "VRX-510L";
                     r.auxNumber = -7;
                     r.portCount = 1;
                     r.ports[0] = Port("198.51.100.7", "a", "1", 1);
                   })},
        RecordCase{"TwoPorts", TwoPorts(), Expected([](DeviceRecord& r) {
                     r.model = "VRX-530L";
                     r.bonded = 1;
                     r.primaryPort = 1;
                     r.auxText = "aux";
                     r.portCount = 2;
                     r.ports[0] = Port("198.51.100.7", "a0", "0", 0);
                     r.ports[1] = Port("203.0.113.7", "a1", "1", 12);
                   })},
        RecordCase{"PortFieldsBeforeAnyIndexGoToPort0AndRepeatsOverwrite",
                   Reply().Field(FLD_PORT_IP, "192.0.2.1").Field(FLD_PORT_IP, "192.0.2.2")
                       .Field(FLD_MODEL, "x").Field(FLD_MODEL, "VRX-517L").Build(),
                   Expected([](DeviceRecord& r) {
                     r.model = "VRX-517L";
                     r.ports[0].ip = "192.0.2.2";
                   })},
        RecordCase{"FieldsOfAPortOtherThan0Or1AreDroppedButCounted", StrayPortIndex(),
                   Expected([](DeviceRecord& r) {
                     r.portCount = 4;
                     r.ports[0] = Port("198.51.100.7", "a0", "0", 0);
                     r.ports[1] = Port("203.0.113.7", "a1", "1", 1);
                   })},
        RecordCase{"LongValuesAreCutToTheirWidth", LongValues(), Expected([](DeviceRecord& r) {
                     r.name = std::string(255, 'n');
                     r.model = std::string(255, 'm');
                     r.auxText = "0123456789a";
                     r.ports[0].ip = "198.051.100.007";
                     r.ports[0].addrA = "0123456789abcde";
                     r.ports[0].dhcp = "yes-ple";
                   })},
        RecordCase{"UnknownCodesAreSkippedAndABrokenFieldEndsTheWalk",
                   Reply().Field(9999, "junk").Field(FLD_DEVICE_NAME, "kept").RawField(FLD_BONDED, 2, "1")
                       .Field(FLD_MODEL, "VRX-510L").Build(),
                   Expected([](DeviceRecord& r) { r.name = "kept"; })}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(DeviceKeyText, ListsTheEightBytesInHex) {
  EXPECT_EQ(DeviceKeyText(DeviceId{0x00, 0x0A, 0xFF, 0x10, 0x01, 0x02, 0x03, 0xAB}),
            "0x00,0x0A,0xFF,0x10,0x01,0x02,0x03,0xAB");
}

// ---- Which replies are taken ----

struct ModelCase {
  friend void PrintTo(const ModelCase& c, std::ostream* out) { *out << c.name; }
  const char* name;
  FieldList fields;
  bool accepted;
};

class ModelTest : public ::testing::TestWithParam<ModelCase> {};

TEST_P(ModelTest, OnlyTheFourModelsExactlyAsWrittenAreRecorded) {
  Rig rig({"198.51.100.20"});
  rig.transport->SetBox(0, SearchAnswers({{kBox, GetParam().fields}}));
  rig.protocol.SearchDevices();
  EXPECT_EQ(rig.protocol.DeviceTable().size(), GetParam().accepted ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Models, ModelTest,
    ::testing::Values(ModelCase{"VRX510L", Model("VRX-510L"), true},
                      ModelCase{"VRX517L", Model("VRX-517L"), true},
                      ModelCase{"VRX530L", Model("VRX-530L"), true},
                      ModelCase{"VRX510LW", Model("VRX-510LW"), true},
                      ModelCase{"LowerCase", Model("vrx-510lw"), false},
                      ModelCase{"TrailingBlank", Model("VRX-510LW "), false},
                      ModelCase{"Prefix", Model("VRX-510"), false},
                      ModelCase{"Longer", Model("VRX-510LWX"), false},
                      ModelCase{"Missing", {{FLD_DEVICE_NAME, "VRX-510L"}}, false},
                      ModelCase{"LastOfTwoWinsAccepted", {{FLD_MODEL, "other"}, {FLD_MODEL, "VRX-530L"}}, true},
                      ModelCase{"LastOfTwoWinsRejected", {{FLD_MODEL, "VRX-530L"}, {FLD_MODEL, "other"}}, false}),
    [](const auto& p) { return std::string(p.param.name); });

// ---- The wait on one interface ----

TEST(Search, WithoutInterfacesEndsAtOnceWithAnEmptyTable) {
  Rig rig({});
  const std::int64_t start = rig.Now();
  rig.protocol.SearchDevices();
  EXPECT_TRUE(rig.protocol.DeviceTable().empty());
  EXPECT_EQ(rig.Now() - start, 0);
  EXPECT_EQ(rig.transport->SentCount(), 0u);
}

TEST(Search, QuietInterfacesAreSearchedAtOnceInOneInterfacesTimeEachWithItsOwnTag) {
  Rig rig({"198.51.100.20", "203.0.113.20", "192.0.2.20"});
  const std::int64_t start = rig.Now();
  rig.protocol.SearchDevices();
  EXPECT_EQ(rig.Now() - start, kQuietSearch);
  rig.protocol.SearchDevices();
  std::vector<ClientId> tags;
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(rig.transport->Sent(i).size(), 2u);
    EXPECT_EQ(rig.transport->SentAt(i)[0], start);
    for (const ByteVector& sent : rig.transport->Sent(i)) {
      EXPECT_EQ(sent, testkit::ToVector(Request(OP_SEARCH, testkit::TagOf(sent), {}).bytes()));
      tags.push_back(testkit::TagOf(sent));
    }
  }
  std::sort(tags.begin(), tags.end());
  EXPECT_EQ(std::adjacent_find(tags.begin(), tags.end()), tags.end()) << "a tag used twice";
}

// Each interface drains before its own send, the drains side by side, none waiting for more than
// what is queued: interface 0 meets what the case puts there, interface 1 is quiet and sends at once
// whatever interface 0 does.
struct DrainCase {
  friend void PrintTo(const DrainCase& c, std::ostream* out) { *out << c.name; }
  const char* name;
  std::function<void(Rig&)> before;
  std::int64_t sendsAfter;
};

class SearchDrainTest : public ::testing::TestWithParam<DrainCase> {};

TEST_P(SearchDrainTest, EndsWhenNothingIsQueuedOrAtItsCap) {
  Rig rig({"198.51.100.20", "203.0.113.20"});
  const std::int64_t start = rig.Now();
  GetParam().before(rig);
  rig.protocol.SearchDevices();
  ASSERT_EQ(rig.transport->SentAt(0).size(), 1u);
  EXPECT_NEAR(static_cast<double>(rig.transport->SentAt(0)[0] - start), static_cast<double>(GetParam().sendsAfter),
              static_cast<double>(kCost));
  ASSERT_EQ(rig.transport->SentAt(1).size(), 1u);
  EXPECT_LE(rig.transport->SentAt(1)[0] - start, kCost);  // after at most one read of interface 0
}

ByteVector Noise() { return ByteVector(60, std::byte{0x5A}); }

INSTANTIATE_TEST_SUITE_P(
    Drains, SearchDrainTest,
    ::testing::Values(
        DrainCase{"NothingWaiting", [](Rig&) {}, 0},
        DrainCase{"QueuedDatagramsAreReadAndDropped",
                  [](Rig& rig) {
                    rig.transport->Inject(0, Noise());
                    rig.transport->Inject(0, Noise());
                  },
                  2 * kCost},
        DrainCase{"ADatagramDueLaterIsNotWaitedFor", [](Rig& rig) { rig.transport->Inject(0, Noise(), 500'000); }, 0},
        DrainCase{"ChatterThatStopsEarly",
                  [](Rig& rig) { rig.transport->SetChatter(0, testkit::ChatterFor(rig.clock, 300'000, Noise())); },
                  300'000},
        DrainCase{"ChatterThatStopsShortlyBeforeTheCap",
                  [](Rig& rig) { rig.transport->SetChatter(0, testkit::ChatterFor(rig.clock, 1'900'000, Noise())); },
                  1'900'000},
        DrainCase{"ChatterBeyondTheCap",
                  [](Rig& rig) { rig.transport->SetChatter(0, testkit::ChatterFor(rig.clock, 5'000'000, Noise())); },
                  kDrainCap}),
    [](const auto& p) { return std::string(p.param.name); });

// A stop asked for while an interface still drains means that interface sends no request at all; a
// quiet interface sent its request at once and stops at its next poll. Interface 0 chatters for 1 s.
struct StopCase {
  friend void PrintTo(const StopCase& c, std::ostream* out) { *out << c.name; }
  const char* name;
  std::int64_t stopFrom;  // the stop check answers true from this long after the start
  std::size_t sentOn0, sentOn1;
  std::int64_t endsBy;
};

class SearchStopTest : public ::testing::TestWithParam<StopCase> {};

TEST_P(SearchStopTest, NoRequestLeavesAnInterfaceStoppedBeforeItsSend) {
  Rig rig({"198.51.100.20", "203.0.113.20"});
  rig.transport->SetChatter(0, testkit::ChatterFor(rig.clock, 1'000'000, Noise()));
  const std::int64_t start = rig.Now();
  rig.protocol.SearchDevices([&] { return rig.Now() - start >= GetParam().stopFrom; });
  EXPECT_EQ(rig.transport->Sent(0).size(), GetParam().sentOn0);
  EXPECT_EQ(rig.transport->Sent(1).size(), GetParam().sentOn1);
  EXPECT_LE(rig.Now() - start, GetParam().endsBy);
}

INSTANTIATE_TEST_SUITE_P(
    Stops, SearchStopTest,
    ::testing::Values(StopCase{"BeforeTheSearch", 0, 0, 0, kCost},
                      StopCase{"DuringADrain", 300'000, 0, 1, 300'000 + kPoll + kCost},
                      StopCase{"AfterBothSends", 1'200'000, 1, 1, 1'200'000 + kPoll + kCost}),
    [](const auto& p) { return std::string(p.param.name); });

// Interface 0: another program's replies every 5 ms for 1.5 s, then a box. Interface 1: 150 boxes
// at once. Each interface counts its own polls (interface 1 stops at 101 records without ending
// interface 0) and its own quiet (interface 0 is never quiet for 10 ms until its box has answered).
TEST(Search, EachInterfaceCountsItsOwnPollsAndItsOwnQuiet) {
  Rig rig({"198.51.100.20", "203.0.113.20"});
  const DeviceId lateBox = MakeDeviceId(200);
  rig.transport->SetBox(0, [&](const ByteVector& request) {
    ClientId other = testkit::TagOf(request);
    other[0] ^= 0xFF;
    std::vector<Datagram> out;
    const ByteVector foreign = ReplyBuilder(OP_SEARCH, other).Device(kBox).Field(FLD_MODEL, "VRX-510L").Build();
    for (int k = 1; k <= 300; ++k) out.push_back({foreign, k * 5000});
    out.push_back({ReplyBuilder(request).Device(lateBox).Field(FLD_MODEL, "VRX-510L").Build(), 1'600'000});
    return out;
  });
  std::vector<BoxReply> many;
  for (int i = 0; i < 150; ++i) {
    many.push_back({MakeDeviceId(static_cast<std::uint8_t>(i)), Model("VRX-510L"), 100 + i});
  }
  rig.transport->SetBox(1, SearchAnswers(many));
  rig.protocol.SearchDevices();
  const auto& table = rig.protocol.DeviceTable();
  ASSERT_EQ(table.size(), 102u);
  EXPECT_EQ(table[0].id, lateBox);
  EXPECT_EQ(table[1].id, many[0].id);
  EXPECT_EQ(rig.protocol.LastSearchStats()[0].foreign, 300);
}

// A box answers at 1 ms; then 100 datagrams of one kind arrive 1 ms apart. Those that count a poll
// end the wait with the 100th; the others leave all 100 empty polls still to come.
struct NoiseCase {
  friend void PrintTo(const NoiseCase& c, std::ostream* out) { *out << c.name; }
  const char* name;
  std::function<Datagram(const ByteVector& request)> make;
  bool countsPoll;
  int SearchStats::*dropCounter;  // where the 100 datagrams are counted; null: nowhere
};

class SearchNoiseTest : public ::testing::TestWithParam<NoiseCase> {};

TEST_P(SearchNoiseTest, OnlyEmptyPollsAndTakenOrRejectedModelsCount) {
  Rig rig({"198.51.100.20"});
  rig.transport->SetBox(0, [make = GetParam().make](const ByteVector& request) {
    std::vector<Datagram> out{{ReplyBuilder(request).Device(kBox).Field(FLD_MODEL, "VRX-510L").Build(), 1000}};
    for (int k = 2; k <= 101; ++k) {
      out.push_back(make(request));
      out.back().delayMicros = k * 1000;
    }
    return out;
  });
  const std::int64_t start = rig.Now();
  rig.protocol.SearchDevices();
  ASSERT_EQ(rig.protocol.DeviceTable().size(), 1u);
  EXPECT_EQ(rig.protocol.DeviceTable()[0].id, kBox);
  const std::int64_t afterNoise = 101 * 1000 + kCost;
  EXPECT_EQ(rig.Now() - start, afterNoise + (GetParam().countsPoll ? 0 : 100 * kPoll));
  // The figures for a box that is not found: each dropped reply under its own reason.
  SearchStats expected{.boxes = 1};
  if (GetParam().dropCounter) expected.*GetParam().dropCounter = 100;
  ASSERT_EQ(rig.protocol.LastSearchStats().size(), 1u);
  const SearchStats& seen = rig.protocol.LastSearchStats()[0];
  EXPECT_EQ(std::tie(seen.boxes, seen.foreign, seen.invalid, seen.rejectedModel),
            std::tie(expected.boxes, expected.foreign, expected.invalid, expected.rejectedModel));
}

ByteVector Oversized(const ByteVector& request) {
  // The first 4096 bytes make a consistent reply of a new box; the datagram goes on past them.
  ReplyBuilder reply(request);
  reply.Device(MakeDeviceId(9)).Field(FLD_MODEL, "VRX-510L").PayloadLength(4096 - 44);
  reply.RawField(FLD_DEVICE_NAME, 8, std::string(5000 - 44 - 16 - 4, 'x'));
  return reply.Build();
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SearchNoiseTest,
    ::testing::Values(
        NoiseCase{"SameBoxAgain",
                  [](const ByteVector& r) { return Datagram{ReplyBuilder(r).Device(kBox).Field(FLD_MODEL, "VRX-510L").Build()}; },
                  false, nullptr},
        // The model is judged before the duplicate check: a known box with a rejected model counts.
        NoiseCase{"SameBoxAgainWithARejectedModel",
                  [](const ByteVector& r) {
                    return Datagram{ReplyBuilder(r).Device(kBox).Field(FLD_MODEL, "VRX-999").Build()};
                  },
                  true, &SearchStats::rejectedModel},
        NoiseCase{"OtherClient",
                  [](const ByteVector&) {
                    return Datagram{ReplyBuilder(OP_SEARCH, ClientId{9}).Device(MakeDeviceId(9)).Field(FLD_MODEL, "VRX-510L").Build()};
                  },
                  false, &SearchStats::foreign},
        NoiseCase{"OtherOpcode",
                  [](const ByteVector& r) {
                    return Datagram{ReplyBuilder(r).Opcode(OP_GET_SHARES).Device(MakeDeviceId(9)).Field(FLD_MODEL, "VRX-510L").Build()};
                  },
                  false, &SearchStats::invalid},
        NoiseCase{"OwnRequest", [](const ByteVector& r) { return Datagram{r}; }, false, &SearchStats::invalid},
        NoiseCase{"PayloadLengthWrong",
                  [](const ByteVector& r) {
                    return Datagram{ReplyBuilder(r).Device(MakeDeviceId(9)).Field(FLD_MODEL, "VRX-510L").PayloadLength(8).Build()};
                  },
                  false, &SearchStats::invalid},
        NoiseCase{"LongerThanTheBuffer", [](const ByteVector& r) { return Datagram{Oversized(r)}; }, false,
                  &SearchStats::invalid},
        NoiseCase{"SocketError", [](const ByteVector&) { return Datagram{{}, 0, -1}; }, false, &SearchStats::invalid},
        NoiseCase{"OtherModel",
                  [](const ByteVector& r) {
                    return Datagram{ReplyBuilder(r).Device(MakeDeviceId(9)).Field(FLD_MODEL, "VRX-999").Build()};
                  },
                  true, &SearchStats::rejectedModel}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(Search, ABoxSeenOnTwoInterfacesBelongsToTheFirstAndOrderIsArrivalOrder) {
  Rig rig({"198.51.100.20", "203.0.113.20", "192.0.2.20"});
  const DeviceId late = MakeDeviceId(2), early = MakeDeviceId(3), middle = MakeDeviceId(4);
  rig.transport->SetBox(0, SearchAnswers({{kBox, Model("VRX-510L"), 5000}, {early, Model("VRX-517L"), 1000}}));
  rig.transport->SetBox(1, SearchAnswers({{middle, Model("VRX-530L")}}));
  rig.transport->SetBox(2, SearchAnswers({{kBox, Model("VRX-510L"), 1000}, {late, Model("VRX-510LW")}}));
  rig.protocol.SearchDevices();
  std::vector<std::pair<DeviceId, int>> table;
  for (const DeviceRecord& r : rig.protocol.DeviceTable()) table.emplace_back(r.id, r.interfaceIndex);
  // Interface 2 hears kBox first in time; the table is still the one of a search of one after another.
  EXPECT_EQ(table, (std::vector<std::pair<DeviceId, int>>{{early, 0}, {kBox, 0}, {middle, 1}, {late, 2}}));
  std::vector<int> boxes;
  for (const SearchStats& stats : rig.protocol.LastSearchStats()) boxes.push_back(stats.boxes);
  EXPECT_EQ(boxes, (std::vector<int>{2, 1, 1})) << "a box counts for the interface whose record the table keeps";
  std::vector<int> answered;
  for (const SearchStats& stats : rig.protocol.LastSearchStats()) answered.push_back(stats.answered);
  EXPECT_EQ(answered, (std::vector<int>{2, 1, 2})) << "a box counts on every interface it answered through";
  EXPECT_EQ(rig.protocol.InterfaceOfDevice(kBox), 0);
  EXPECT_EQ(rig.protocol.InterfaceOfDevice(late), 2);
  EXPECT_EQ(rig.protocol.InterfaceOfDevice(MakeDeviceId(99)), -1);
  EXPECT_EQ(rig.protocol.FindDevice(MakeDeviceId(99)), nullptr);
}

// Interface 1 hears its boxes first; interface 0's arrive later and go above them, and the box that both
// hear moves up to interface 0's rows with interface 0's record.
TEST(Search, TellsEachChangeOfTheTableToBeAndEndsWithTheSameTable) {
  Rig rig({"198.51.100.20", "203.0.113.20"});
  const DeviceId both = MakeDeviceId(2), first0 = MakeDeviceId(3), second0 = MakeDeviceId(4), first1 = MakeDeviceId(5),
                 last1 = MakeDeviceId(6);
  rig.transport->SetBox(0, SearchAnswers({{first0, Model("VRX-510L"), 4000},
                                          {second0, Model("VRX-517L"), 5500},
                                          {both, Model("VRX-530L"), 6000}}));
  rig.transport->SetBox(1, SearchAnswers({{first1, Model("VRX-510L"), 1000},
                                          {both, Model("VRX-530L"), 2000},
                                          {last1, Model("VRX-510LW"), 5000}}));
  std::vector<std::tuple<int, int, DeviceId, int>> changes;
  std::vector<std::pair<DeviceId, int>> shown;  // the changes applied as a list would apply them
  rig.protocol.SearchDevices({}, [&](const SearchChange& change) {
    changes.emplace_back(change.from, change.to, change.record.id, change.record.interfaceIndex);
    if (change.from >= 0) shown.erase(shown.begin() + change.from);
    shown.insert(shown.begin() + change.to, {change.record.id, change.record.interfaceIndex});
  });
  EXPECT_EQ(changes, (std::vector<std::tuple<int, int, DeviceId, int>>{{-1, 0, first1, 1},
                                                                       {-1, 1, both, 1},
                                                                       {-1, 0, first0, 0},
                                                                       {-1, 3, last1, 1},
                                                                       {-1, 1, second0, 0},
                                                                       {3, 2, both, 0}}));
  std::vector<std::pair<DeviceId, int>> table;
  for (const DeviceRecord& r : rig.protocol.DeviceTable()) table.emplace_back(r.id, r.interfaceIndex);
  EXPECT_EQ(table, (std::vector<std::pair<DeviceId, int>>{{first0, 0}, {second0, 0}, {both, 0}, {first1, 1}, {last1, 1}}));
  EXPECT_EQ(shown, table) << "each record ends at the row the table gives it";
  std::vector<int> boxes;
  for (const SearchStats& stats : rig.protocol.LastSearchStats()) boxes.push_back(stats.boxes);
  EXPECT_EQ(boxes, (std::vector<int>{3, 2}));
}

// Two PC addresses on one link hear each other's requests and the replies to them: a reply to the
// other address's request is counted apart, its request not at all; each records the box it asked.
TEST(Search, SiblingAddressesOnOneLinkAreNeitherForeignNorInvalid) {
  Rig rig({"198.51.100.20", "198.51.100.21", "198.51.100.22"});
  rig.transport->SetHearEachOther(true);
  for (int i = 0; i < 3; ++i) rig.transport->SetBox(i, SearchAnswers({{kBox, Model("VRX-510L")}}));
  // Another program's reply is still foreign.
  rig.transport->Inject(1, ReplyBuilder(OP_SEARCH, ClientId{9}).Device(kBox).Field(FLD_MODEL, "VRX-510L").Build(), 1500);
  rig.protocol.SearchDevices();
  ASSERT_EQ(rig.protocol.DeviceTable().size(), 1u);
  std::vector<std::vector<int>> seen;
  for (const SearchStats& s : rig.protocol.LastSearchStats()) {
    seen.push_back({s.answered, s.boxes, s.sibling, s.foreign, s.invalid});
  }
  EXPECT_EQ(seen, (std::vector<std::vector<int>>{{1, 1, 2, 0, 0}, {1, 0, 2, 1, 0}, {1, 0, 2, 0, 0}}));
}

TEST(Search, EverySearchStartsFromAnEmptyTable) {
  Rig rig({"198.51.100.20"});
  rig.transport->SetBox(0, SearchAnswers({{kBox, Model("VRX-510L")}, {MakeDeviceId(2), Model("VRX-510L")}}));
  rig.protocol.SearchDevices();
  ASSERT_EQ(rig.protocol.DeviceTable().size(), 2u);
  rig.transport->SetBox(0, SearchAnswers({{MakeDeviceId(2), Model("VRX-510L")}}));
  rig.protocol.SearchDevices();
  ASSERT_EQ(rig.protocol.DeviceTable().size(), 1u);
  EXPECT_FALSE(rig.protocol.IsKnownDevice(kBox));
  rig.transport->SetBox(0, {});
  rig.protocol.SearchDevices();
  EXPECT_TRUE(rig.protocol.DeviceTable().empty());
}

// The box answers the first search after 1.5 s, half a second into the next search's polls.
TEST(Search, AReplyThatCameTooLateIsNeverTakenByTheNextSearch) {
  Rig rig({"198.51.100.20"});
  rig.transport->SetBox(0, SearchAnswers({{kBox, Model("VRX-510L"), 1'500'000}}));
  rig.protocol.SearchDevices();
  EXPECT_TRUE(rig.protocol.DeviceTable().empty());
  rig.transport->SetBox(0, {});
  rig.protocol.SearchDevices();
  EXPECT_TRUE(rig.protocol.DeviceTable().empty());
  EXPECT_EQ(rig.protocol.LastSearchStats()[0].foreign, 1);
}

TEST(Search, AcceptedRepliesCountPollsSoAt150BoxesOnly101AreRecorded) {
  Rig rig({"198.51.100.20"});
  std::vector<BoxReply> boxes;
  for (int i = 0; i < 150; ++i) boxes.push_back({MakeDeviceId(static_cast<std::uint8_t>(i)), Model("VRX-510L"), 100 + i});
  rig.transport->SetBox(0, SearchAnswers(boxes));
  rig.protocol.SearchDevices();
  const auto& table = rig.protocol.DeviceTable();
  ASSERT_EQ(table.size(), 101u);
  for (std::size_t i = 0; i < table.size(); ++i) EXPECT_EQ(table[i].id, boxes[i].id) << i;
}

// Datagrams that count no poll must not hold the search: each interface ends by its deadline.
struct StreamCase {
  friend void PrintTo(const StreamCase& c, std::ostream* out) { *out << c.name; }
  const char* name;
  std::function<ByteVector(const ByteVector* request)> noise;  // request: the last one sent, if any
};

class SearchStreamTest : public ::testing::TestWithParam<StreamCase> {};

// The stream also holds interface 0's drain, to its cap; interface 1 is searched meanwhile.
TEST_P(SearchStreamTest, EndsByTheDeadlineAndStillRecordsTheBox) {
  Rig rig({"198.51.100.20", "203.0.113.20"});
  rig.transport->SetBox(0, SearchAnswers({{kBox, Model("VRX-510L"), 5000}}));
  const std::int64_t silentFrom = rig.Now() + 60'000'000;  // beyond every cap and deadline, yet finite
  rig.transport->SetChatter(0, [&rig, silentFrom, noise = GetParam().noise] {
    const std::vector<ByteVector>& sent = rig.transport->Sent(0);
    return rig.Now() < silentFrom ? noise(sent.empty() ? nullptr : &sent.back()) : ByteVector{};
  });
  rig.transport->SetBox(1, SearchAnswers({{MakeDeviceId(2), Model("VRX-510L"), 5000}}));
  const std::int64_t start = rig.Now();
  rig.protocol.SearchDevices();
  ASSERT_EQ(rig.protocol.DeviceTable().size(), 2u);
  EXPECT_EQ(rig.protocol.DeviceTable()[0].id, kBox);
  EXPECT_LE(rig.transport->SentAt(1)[0] - start, kCost);
  EXPECT_GE(rig.Now() - start, kDrainCap + kSearchDeadline);
  EXPECT_LE(rig.Now() - start, kDrainCap + kSearchDeadline + 3 * kCost);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, SearchStreamTest,
    ::testing::Values(
        StreamCase{"Garbage", [](const ByteVector*) { return ByteVector(60, std::byte{0x5A}); }},
        StreamCase{"BoxRepeatingItsReply",
                   [](const ByteVector* request) {
                     ReplyBuilder reply = request ? ReplyBuilder(*request) : ReplyBuilder(OP_SEARCH, ClientId{});
                     return reply.Device(kBox).Field(FLD_MODEL, "VRX-510L").Build();
                   }}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace quorvel
