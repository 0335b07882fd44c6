// The network arithmetic and the rule of the checks that come before a static address is sent.
#include <gtest/gtest.h>

#include "app/lan_check.h"
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
  const LanCheckInput input{c.newAddress, "198.51.100.1", c.pcPrefix, {"198.51.100.20", "198.51.100.21"}};
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
                 ""}),
    [](const auto& each) { return std::string(each.param.name); });

TEST(LanCheck, QuestionAndMissingProbe) {
  const LanCheckInput input{"198.51.100.44", "198.51.100.1", 24, {}};
  EXPECT_EQ(CheckNewAddress(input, {}).verdict, LanVerdict::ProbeFailed);
  EXPECT_EQ(QuestionText(LanCheck{LanVerdict::Taken, kTaken}),
            "Another device already answers at 198.51.100.44. Use this address anyway?");
}

// The kernel's neighbour table as /proc/net/arp shows it: only a complete entry (flag 0x2) is an answer.
TEST(NeighbourTable, OnlyACompleteEntryOfTheAddressCounts) {
  const std::string table =
      "IP address       HW type     Flags       HW address            Mask     Device\n"
      "198.51.100.44    0x1         0x0         00:00:00:00:00:00     *        veth0\n"
      "198.51.100.45    0x1         0x2         02:aa:bb:cc:dd:ee     *        veth0\n"
      "198.51.100.46    0x1         0x6         02:aa:bb:cc:dd:ef     *        veth0\n";
  EXPECT_FALSE(platform::NeighbourAnswered(table, "198.51.100.44")) << "incomplete";
  EXPECT_TRUE(platform::NeighbourAnswered(table, "198.51.100.45"));
  EXPECT_TRUE(platform::NeighbourAnswered(table, "198.51.100.46"));
  EXPECT_FALSE(platform::NeighbourAnswered(table, "198.51.100.4")) << "a prefix of another entry";
  EXPECT_FALSE(platform::NeighbourAnswered(table.substr(0, table.find('\n') + 1), "198.51.100.45"));
}

}  // namespace
}  // namespace quorvel
