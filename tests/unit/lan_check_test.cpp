// The network arithmetic and the rule of the checks that come before a static address is sent.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <linux/neighbour.h>
#include <linux/rtnetlink.h>

#include <cstring>
#include <optional>

#include "app/lan_check.h"
#include "fake_transport.h"
#include "platform/neighbour_state.h"
#include "platform/posix/address_probe_linux.h"
#include "protocol/local_address.h"

namespace quorvel {
namespace {

using platform::ProbeAnswer;

TEST(LanArithmetic, PrefixNetmaskAndNetworkAddress) {
  struct Case {
    std::string mask;
    int prefix;
    std::string address, network;
  };
  const std::vector<Case> cases = {
      {"255.255.255.0", 24, "198.51.100.44", "198.51.100.0"},
      {"255.255.255.224", 27, "198.51.100.44", "198.51.100.32"},
      {"255.255.0.0", 16, "169.254.10.20", "169.254.0.0"},
      {"255.255.255.255", 32, "192.0.2.50", "192.0.2.50"},
      {"128.0.0.0", 1, "192.0.2.50", "128.0.0.0"},
      {"0.0.0.0", 0, "192.0.2.50", "0.0.0.0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mask);
    EXPECT_EQ(net::PrefixLengthOfNetmask(*AddressOfText(c.mask)), c.prefix);
    EXPECT_EQ(DottedAddress(NetmaskOfPrefix(c.prefix)), c.mask);
    EXPECT_EQ(DottedAddress(NetworkAddressOf(*AddressOfText(c.address), c.prefix)), c.network);
  }
  EXPECT_EQ(net::PrefixLengthOfNetmask(*AddressOfText("255.0.255.0")), 8) << "leading ones only";
}

struct RuleCase {
  const char* name;
  std::string newAddress;
  int pcPrefix;
  ProbeAnswer answer;  // what the link says, if asked
  LanVerdict verdict;
  bool probed;
  std::string statement;
};
void PrintTo(const RuleCase& c, std::ostream* out) { *out << c.name; }

class Rule : public ::testing::TestWithParam<RuleCase> {};

// The PC is 198.51.100.1 on the interface that found the box; the box's ports are .20 and .21.
TEST_P(Rule, AsksProbesOrLetsThrough) {
  const RuleCase& c = GetParam();
  const LanCheckInput input{c.newAddress, {{"198.51.100.1", c.pcPrefix}}, {"198.51.100.20", "198.51.100.21"}, {}};
  std::vector<std::pair<std::string, std::string>> probes;
  const LanCheck check = CheckNewAddress(input, [&](const std::string& address, const std::string& local) {
    probes.emplace_back(address, local);
    return c.answer;
  });
  EXPECT_EQ(check.verdict, c.verdict);
  EXPECT_EQ(check.statement, c.statement);
  EXPECT_EQ(check.asks(), !c.statement.empty());
  using Probes = std::vector<std::pair<std::string, std::string>>;
  const Probes expected = c.probed ? Probes{{c.newAddress, "198.51.100.1"}} : Probes{};
  EXPECT_EQ(probes, expected);
}

const std::string kOutside24 =
    "192.0.2.50 is not on this PC's network 198.51.100.0/24. The box will still be found, but its shares and web "
    "pages will not be reachable from this PC.";
const std::string kOutside27 =
    "198.51.100.44 is not on this PC's network 198.51.100.0/27. The box will still be found, but its shares and "
    "web pages will not be reachable from this PC.";
const std::string kTaken = "Another device already answers at 198.51.100.44.";

INSTANTIATE_TEST_SUITE_P(
    Cases, Rule,
    ::testing::Values(
        RuleCase{"TakenAddressIsAskedAbout", "198.51.100.44", 24, ProbeAnswer::Answered, LanVerdict::Taken, true, kTaken},
        RuleCase{"FreeAddressGoesOut", "198.51.100.44", 24, ProbeAnswer::Silent, LanVerdict::Clear, true, ""},
        RuleCase{"ProbeThatCannotBeMadeGoesOut", "198.51.100.44", 24, ProbeAnswer::CannotProbe,
                 LanVerdict::ProbeFailed, true, ""},
        RuleCase{"OutsideIsAskedWithoutProbe", "192.0.2.50", 24, ProbeAnswer::Answered, LanVerdict::OutsideNetwork,
                 false, kOutside24},
        RuleCase{"OutsideANarrowerNetwork", "198.51.100.44", 27, ProbeAnswer::Silent, LanVerdict::OutsideNetwork,
                 false, kOutside27},
        RuleCase{"LastAddressOfANarrowNetworkIsInside", "198.51.100.31", 27, ProbeAnswer::Silent, LanVerdict::Clear,
                 true, ""},
        RuleCase{"BoxsFirstPortIsNotProbed", "198.51.100.20", 24, ProbeAnswer::Answered, LanVerdict::Clear, false, ""},
        RuleCase{"BoxsSecondPortIsNotProbed", "198.51.100.21", 24, ProbeAnswer::Answered, LanVerdict::Clear, false, ""},
        RuleCase{"ThePcsOwnAddressIsTaken", "198.51.100.1", 24, ProbeAnswer::Silent, LanVerdict::Taken, false,
                 "Another device already answers at 198.51.100.1."},
        RuleCase{"UnknownPrefixAsksNoNetworkQuestion", "192.0.2.50", 0, ProbeAnswer::Silent, LanVerdict::Clear, true,
                 ""},
        RuleCase{"PointToPointPrefixAsksNoNetworkQuestion", "192.0.2.50", 31, ProbeAnswer::Silent, LanVerdict::Clear,
                 true, ""},
        RuleCase{"HostPrefixAsksNoNetworkQuestion", "192.0.2.50", 32, ProbeAnswer::Answered, LanVerdict::Taken, true,
                 "Another device already answers at 192.0.2.50."}),
    [](const auto& each) { return std::string(each.param.name); });

// Several PC addresses on the box's link (10.0.0.5/8 found it, 192.168.1.5/24 on the same card), and
// the PC's wireless address 192.168.1.9 elsewhere: the address whose network holds the new one decides
// and is the probe's source; outside only when none holds it; any PC address is taken unprobed.
TEST(LanCheck, EveryAddressOfThePcOnTheLinkCounts) {
  struct Case {
    std::string newAddress;
    LanVerdict verdict;
    std::string source;  // the probe's source; empty: no probe
  };
  const std::vector<Case> cases = {
      {"192.168.1.30", LanVerdict::Clear, "192.168.1.5"},
      {"10.20.30.40", LanVerdict::Clear, "10.0.0.5"},
      {"172.16.0.1", LanVerdict::OutsideNetwork, ""},
      {"192.168.1.5", LanVerdict::Taken, ""},
      {"192.168.1.9", LanVerdict::Taken, ""},
      {"203.0.113.9", LanVerdict::OutsideNetwork, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.newAddress);
    const LanCheckInput input{c.newAddress, {{"10.0.0.5", 8}, {"192.168.1.5", 24}}, {}, {"192.168.1.9", "203.0.113.9"}};
    std::string source;
    const LanCheck check = CheckNewAddress(input, [&](const std::string&, const std::string& local) {
      source = local;
      return ProbeAnswer::Silent;
    });
    EXPECT_EQ(check.verdict, c.verdict);
    EXPECT_EQ(source, c.source);
    if (c.verdict == LanVerdict::OutsideNetwork) {
      EXPECT_EQ(check.statement.rfind(c.newAddress + " is not on this PC's network 10.0.0.0/8.", 0), 0u);
    }
  }
}

// The input names the interface that found the box first, then the other interfaces of its card (by
// the system's index), and every address that the system lists.
TEST(LanCheck, InputGroupsTheAddressesOfTheFindingCard) {
  testkit::Rig rig({"10.0.0.5", "203.0.113.1", "192.168.1.5", "198.51.100.1"});
  rig.transport->SetSystemIndex(0, 3);
  rig.transport->SetSystemIndex(1, 4);
  rig.transport->SetSystemIndex(2, 3);
  rig.transport->SetPrefixLength(0, 8);
  rig.transport->SetLocalAddresses({"127.0.0.1", "10.0.0.5", "192.0.2.77"});
  DeviceRecord box{};
  box.interfaceIndex = 2;
  const LanCheckInput input = LanCheckInputFor(rig.protocol, box, "192.168.1.30");
  ASSERT_EQ(input.linkAddresses.size(), 2u);
  EXPECT_EQ(input.linkAddresses[0].address, "192.168.1.5");
  EXPECT_EQ(input.linkAddresses[1].address, "10.0.0.5");
  EXPECT_EQ(input.linkAddresses[1].prefixLength, 8);
  EXPECT_EQ(input.pcAddresses, (std::vector<std::string>{"127.0.0.1", "10.0.0.5", "192.0.2.77"}));
  rig.transport->SetSystemIndex(2, 0);
  EXPECT_EQ(LanCheckInputFor(rig.protocol, box, "192.168.1.30").linkAddresses.size(), 1u) << "index not known";
}

TEST(LanCheck, QuestionAndMissingProbe) {
  const LanCheckInput input{"198.51.100.44", {{"198.51.100.1", 24}}, {}, {}};
  EXPECT_EQ(CheckNewAddress(input, {}).verdict, LanVerdict::ProbeFailed);
  EXPECT_EQ(QuestionText(LanCheck{LanVerdict::Taken, kTaken}),
            "Another device already answers at 198.51.100.44. Use this address anyway?");
}

// Each neighbour state, as Linux and Windows report it, and the probe's answer before its deadline
// (nothing: wait on), at it after the link was asked afresh, and at it without such an ask. An entry
// that the link confirmed lately is taken; an old one is taken only if it turns Reachable meanwhile.
TEST(NeighbourTable, EachStateBeforeAndAtTheDeadline) {
  using platform::NeighbourState;
  struct Row {
    const char* name;
    unsigned linuxNud;
    int windowsState;  // NL_NEIGHBOR_STATE; -1: none maps here
    std::optional<ProbeAnswer> before, askedAtDeadline, unaskedAtDeadline;
  };
  const auto A = ProbeAnswer::Answered, S = ProbeAnswer::Silent, C = ProbeAnswer::CannotProbe;
  const std::vector<Row> rows = {
      {"reachable", 0x02, 5, A, A, A},
      {"permanent", 0x80, 6, A, A, A},
      {"noarp", 0x40, -1, A, A, A},
      {"stale: the device may have left", 0x04, 4, std::nullopt, S, C},
      {"delay", 0x08, 3, std::nullopt, S, C},
      {"probe", 0x10, 2, std::nullopt, S, C},
      {"incomplete", 0x01, 1, std::nullopt, S, S},
      {"failed", 0x20, 0, S, S, S},
      {"no entry", 0x00, 7, std::nullopt, S, S},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const NeighbourState state = platform::LinuxNeighbourState(row.linuxNud);
    if (row.windowsState >= 0) {
      EXPECT_EQ(platform::WindowsNeighbourState(row.windowsState), state);
    }
    EXPECT_EQ(platform::AnswerOfNeighbour(state, false, false), row.before);
    EXPECT_EQ(platform::AnswerOfNeighbour(state, false, true), row.before);
    EXPECT_EQ(platform::AnswerOfNeighbour(state, true, true), row.askedAtDeadline);
    EXPECT_EQ(platform::AnswerOfNeighbour(state, true, false), row.unaskedAtDeadline);
    EXPECT_EQ(platform::NeedsFreshAsk(state), row.unaskedAtDeadline == C);
  }
}

// The table-polling probe (a resolve call asks the link while the table is read), fed a sequence of
// reads: every read but the last waits, and the last one gives the row's step.
TEST(NeighbourTable, ResolveCallAndTableReads) {
  using platform::NeighbourState;
  using platform::ResolveStatus;
  using Step = platform::ResolveStep;
  struct Read {
    ResolveStatus resolve;
    NeighbourState table;
    bool atDeadline;
  };
  struct Row {
    const char* name;
    std::vector<Read> reads;
    Step::Kind kind;
    ProbeAnswer answer;
  };
  const auto P = ResolveStatus::Pending;
  const auto Inc = NeighbourState::Incomplete, Fail = NeighbourState::Failed, Stale = NeighbourState::Stale,
             None = NeighbourState::Absent, Reach = NeighbourState::Reachable;
  const auto A = ProbeAnswer::Answered, S = ProbeAnswer::Silent, C = ProbeAnswer::CannotProbe;
  const std::vector<Row> rows = {
      {"an old failed entry waits while the call runs", {{P, Fail, false}, {P, Fail, false}, {P, Reach, false}},
       Step::Answer, A},
      {"an old failed entry at the deadline is silent", {{P, Fail, false}, {P, Fail, true}}, Step::Answer, S},
      {"failed after this probe saw incomplete", {{P, Inc, false}, {P, Fail, false}}, Step::Answer, S},
      {"the call finds nobody", {{P, Fail, false}, {ResolveStatus::NoReply, Fail, false}}, Step::Answer, S},
      {"the call finds the device", {{P, Stale, false}, {ResolveStatus::Resolved, Stale, false}}, Step::Answer, A},
      {"a failing call leaves a stale entry untold", {{P, Stale, false}, {ResolveStatus::Failed, Stale, false}},
       Step::Answer, C},
      {"a failing call leaves no entry untold", {{ResolveStatus::Failed, None, false}}, Step::Answer, C},
      {"a stale entry still stale at the deadline", {{P, Stale, false}, {P, Stale, true}}, Step::Answer, S},
      {"no resolve call here", {{P, None, false}, {ResolveStatus::Unsupported, None, false}}, Step::OtherProbe, C},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    platform::ResolvePolling polling;
    Step step;
    for (std::size_t i = 0; i < row.reads.size(); ++i) {
      step = polling.Next(row.reads[i].resolve, row.reads[i].table, row.reads[i].atDeadline);
      if (i + 1 < row.reads.size()) {
        EXPECT_EQ(step.kind, Step::Wait) << "read " << i;
      }
    }
    EXPECT_EQ(step.kind, row.kind);
    if (row.kind == Step::Answer) {
      EXPECT_EQ(step.answer, row.answer);
    }
  }
}

// A netlink neighbour dump: only the entry of the address on the PC's device counts.
TEST(NeighbourTable, DumpEntryOfTheAddressOnTheDevice) {
  std::vector<std::byte> dump;
  auto add = [&dump](const char* address, int device, std::uint16_t nud) {
    nlmsghdr header{};
    header.nlmsg_len = NLMSG_LENGTH(NLMSG_ALIGN(sizeof(ndmsg)) + RTA_LENGTH(4));
    header.nlmsg_type = RTM_NEWNEIGH;
    ndmsg entry{};
    entry.ndm_family = AF_INET;
    entry.ndm_ifindex = device;
    entry.ndm_state = nud;
    rtattr attribute{static_cast<unsigned short>(RTA_LENGTH(4)), NDA_DST};
    in_addr destination{};
    inet_pton(AF_INET, address, &destination);
    const std::size_t at = dump.size();
    dump.resize(at + NLMSG_ALIGN(header.nlmsg_len));
    std::memcpy(dump.data() + at, &header, sizeof header);
    std::memcpy(dump.data() + at + NLMSG_HDRLEN, &entry, sizeof entry);
    std::memcpy(dump.data() + at + NLMSG_LENGTH(NLMSG_ALIGN(sizeof(ndmsg))), &attribute, sizeof attribute);
    std::memcpy(dump.data() + at + NLMSG_LENGTH(NLMSG_ALIGN(sizeof(ndmsg))) + RTA_LENGTH(0), &destination, 4);
  };
  add("198.51.100.46", 3, 0x04);
  add("198.51.100.46", 4, 0x02);
  add("198.51.100.47", 3, 0x02);
  in_addr wanted{};
  inet_pton(AF_INET, "198.51.100.46", &wanted);
  using platform::NeighbourState;
  EXPECT_EQ(platform::NeighbourStateInDump(dump, wanted.s_addr, 3), NeighbourState::Stale);
  EXPECT_EQ(platform::NeighbourStateInDump(dump, wanted.s_addr, 4), NeighbourState::Reachable);
  EXPECT_EQ(platform::NeighbourStateInDump(dump, wanted.s_addr, 5), NeighbourState::Absent);
  const std::span<const std::byte> cut(dump.data(), dump.size() - 1);
  EXPECT_EQ(platform::NeighbourStateInDump(cut.first(NLMSG_LENGTH(8)), wanted.s_addr, 3), NeighbourState::Absent)
      << "a message cut short";
}

}  // namespace
}  // namespace quorvel
