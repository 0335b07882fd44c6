// quorvel-cli without sockets: argument parsing, finding the named box, the JSON and text output,
// and whole commands run over an in-memory transport whose boxes answer from a script.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <sstream>

#include "cli_args.h"
#include "cli_commands.h"
#include "device_match.h"
#include "doctor_report.h"
#include "json_output.h"
#include "password_input.h"
#include "table_output.h"
#include "utf8_text.h"

namespace quorvel::cli {
namespace {

using Outcome = ParsedArgs::Outcome;

// --- Argument parsing -------------------------------------------------------------------------

ParsedArgs Parse(std::vector<std::string> args) { return ParseArguments(args); }

const std::vector<std::string> kStatic = {"set-network", "--device", "nas", "--user", "admin",
                                          "--port", "LAN1", "--ip", "10.0.0.5", "--netmask", "255.0.0.0"};

std::vector<std::string> With(std::vector<std::string> args, std::vector<std::string> more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

TEST(ParseArguments, HelpWinsWhereverItStands) {
  EXPECT_EQ(Parse({"--help"}).outcome, Outcome::Help);
  EXPECT_FALSE(Parse({"-h"}).command.has_value());
  const ParsedArgs shares = Parse({"shares", "--bogus", "--help"});
  EXPECT_EQ(shares.outcome, Outcome::Help);
  EXPECT_EQ(shares.command, Command::Shares);
}

TEST(ParseArguments, RefusesWhatNoCommandTakes) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {},
           {"find"},
           {"search", "extra"},
           {"search", "--device", "x"},           // search takes no device
           {"search", "--json", "--json"},        // twice
           {"search", "--json=yes"},              // a flag with a value
           {"check-password", "--user", "u"},     // no device
           {"check-password", "--device", "d"},   // no user
           {"check-password", "--device=", "--user", "u"},
           {"check-password", "--device", "d", "--user"},  // value missing
           {"shares", "--device", "d", "--user", "u", "--port", "LAN"},
           {"doctor", "--device", "d"},           // the doctor names no box
           {"doctor", "extra"},
       }) {
    EXPECT_EQ(Parse(args).outcome, Outcome::BadUsage) << ::testing::PrintToString(args);
  }
}

TEST(ParseArguments, ReadsBothOptionForms) {
  const ParsedArgs joined = Parse({"shares", "--device=0x00,0x1B", "--user=", "--json"});
  ASSERT_EQ(joined.outcome, Outcome::Run);
  EXPECT_EQ(joined.options.device, "0x00,0x1B");
  EXPECT_EQ(joined.options.user, "");
  EXPECT_TRUE(joined.options.json);
  const ParsedArgs split = Parse({"check-password", "--user", "admin", "--device", "a=b"});
  ASSERT_EQ(split.outcome, Outcome::Run);
  EXPECT_EQ(split.options.device, "a=b");
  EXPECT_EQ(split.options.user, "admin");
}

TEST(ParseArguments, UserMustFitTheRequestContext) {
  EXPECT_EQ(Parse({"check-password", "--device", "d", "--user", std::string(63, 'u')}).outcome, Outcome::Run);
  EXPECT_EQ(Parse({"check-password", "--device", "d", "--user", std::string(64, 'u')}).outcome,
            Outcome::BadUsage);
}

TEST(ParseArguments, SetNetworkNeedsAKnownPortAndOneKindOfSettings) {
  EXPECT_EQ(Parse(kStatic).outcome, Outcome::Run);
  for (const char* port : {"LAN", "LAN2", "LAN1+LAN2"}) {
    auto args = kStatic;
    args[6] = port;
    EXPECT_EQ(Parse(args).options.port, port);
  }
  auto lower = kStatic;
  lower[6] = "lan1";
  EXPECT_EQ(Parse(lower).outcome, Outcome::BadUsage);
  EXPECT_EQ(Parse(With(kStatic, {"--dhcp"})).outcome, Outcome::BadUsage);
  EXPECT_EQ(Parse({"set-network", "--device", "d", "--user", "u", "--port", "LAN"}).outcome, Outcome::BadUsage);
  EXPECT_EQ(Parse({"set-network", "--device", "d", "--user", "u", "--port", "LAN", "--ip", "10.0.0.5"}).outcome,
            Outcome::BadUsage);
  const ParsedArgs dhcp = Parse({"set-network", "--device", "d", "--user", "u", "--port", "LAN2", "--dhcp"});
  ASSERT_EQ(dhcp.outcome, Outcome::Run);
  EXPECT_TRUE(dhcp.options.dhcp);
}

TEST(ParseArguments, GatewayAbsentOrEmptyIsBlank) {
  const ParsedArgs absent = Parse(kStatic);
  EXPECT_EQ(absent.options.ip, (Octets{10, 0, 0, 5}));
  EXPECT_FALSE(absent.options.gateway.has_value());
  EXPECT_FALSE(Parse(With(kStatic, {"--gateway="})).options.gateway.has_value());
  EXPECT_EQ(Parse(With(kStatic, {"--gateway", "10.0.0.1"})).options.gateway, (Octets{10, 0, 0, 1}));
}

TEST(ParseOctets, TakesFourDecimalNumbersAndKeepsLargeOnes) {
  EXPECT_EQ(ParseOctets("192.168.001.010"), (Octets{192, 168, 1, 10}));
  EXPECT_EQ(ParseOctets("10.0.0.300"), (Octets{10, 0, 0, 300}));
  const auto huge = ParseOctets("1.2.3.99999999999999999999");
  ASSERT_TRUE(huge.has_value());
  EXPECT_GT((*huge)[3], 255);
  for (const char* bad : {"", "10.0.0", "10.0.0.1.5", "10..0.1", "10.0.0.", ".10.0.0.1", "a.b.c.d",
                          "10.0.0.-1", "+1.0.0.0", " 10.0.0.1", "10.0.0.1 ", "0x0A.0.0.1"}) {
    EXPECT_FALSE(ParseOctets(bad).has_value()) << bad;
  }
}

TEST(ParseArguments, AddressThatIsNotFourNumbersIsBadUsage) {
  auto args = kStatic;
  args[8] = "10.0.0";
  EXPECT_EQ(Parse(args).outcome, Outcome::BadUsage);
  EXPECT_EQ(Parse(With(kStatic, {"--gateway", "gw"})).outcome, Outcome::BadUsage);
}

// --- Finding the named box --------------------------------------------------------------------

DeviceRecord Record(std::uint8_t last, const char* name, const char* ip0, const char* ip1 = "") {
  DeviceRecord record;
  record.id = {0x00, 0x1B, 0x2C, 0xA0, 0x0F, 0x30, 0x00, last};
  record.name = name;
  record.model = "VRX-510L";
  record.ports[0].ip = ip0;
  record.ports[1].ip = ip1;
  return record;
}

TEST(FindDeviceByText, MatchesKeyTextNameOrAnyPortAddress) {
  const std::vector<DeviceRecord> table = {Record(1, "alpha", "198.51.100.10", "198.51.100.20"),
                                           Record(2, "beta", "198.51.100.30")};
  EXPECT_EQ(FindDeviceByText(table, "0x00,0x1B,0x2C,0xA0,0x0F,0x30,0x00,0x02"), &table[1]);
  EXPECT_EQ(FindDeviceByText(table, "0x00,0x1b,0x2c,0xa0,0x0f,0x30,0x00,0x02"), &table[1]);
  EXPECT_EQ(FindDeviceByText(table, "beta"), &table[1]);
  EXPECT_EQ(FindDeviceByText(table, "198.51.100.20"), &table[0]);  // the second port counts
  EXPECT_EQ(FindDeviceByText(table, "198.51.100.30"), &table[1]);
}

TEST(FindDeviceByText, NamesAreExactAndPiecesDoNotMatch) {
  const std::vector<DeviceRecord> table = {Record(1, "alpha", "198.51.100.10")};
  for (const char* text : {"Alpha", "alph", "198.51.100.1", "0x00,0x1B", "", " alpha"}) {
    EXPECT_EQ(FindDeviceByText(table, text), nullptr) << text;
  }
}

TEST(FindDeviceByText, TakesTheFirstMatchInTableOrder) {
  // The second box's name is the first box's address: table order decides, not the kind of match.
  const std::vector<DeviceRecord> table = {Record(1, "alpha", "198.51.100.10"),
                                           Record(2, "198.51.100.10", "198.51.100.11"),
                                           Record(3, "alpha", "198.51.100.12")};
  EXPECT_EQ(FindDeviceByText(table, "198.51.100.10"), &table[0]);
  EXPECT_EQ(FindDeviceByText(table, "alpha"), &table[0]);
  EXPECT_EQ(FindDeviceByText({table[1], table[0]}, "198.51.100.10")->id, table[1].id);
}

// --- Text encoding and output -----------------------------------------------------------------

const std::string kFFFD = "\xEF\xBF\xBD";

TEST(ValidUtf8, ReplacesEachMaximalIllFormedSubpartOnce) {
  EXPECT_EQ(ValidUtf8("caf\xC3\xA9 \xF0\x9F\x93\x81"), "caf\xC3\xA9 \xF0\x9F\x93\x81");
  EXPECT_EQ(ValidUtf8("a\x80z"), "a" + kFFFD + "z");
  EXPECT_EQ(ValidUtf8("\xE2\x82"), kFFFD);                       // truncated at the end
  EXPECT_EQ(ValidUtf8("\xE2\x82" "A"), kFFFD + "A");            // truncated in the middle
  EXPECT_EQ(ValidUtf8("\xC0\xAF"), kFFFD + kFFFD);              // overlong lead
  EXPECT_EQ(ValidUtf8("\xED\xA0\x80"), kFFFD + kFFFD + kFFFD);  // surrogate
  EXPECT_EQ(ValidUtf8("\xF4\x90\x80\x80"), kFFFD + kFFFD + kFFFD + kFFFD);  // above U+10FFFF
  EXPECT_EQ(ValidUtf8("\xFF"), kFFFD);
}

TEST(JsonString, EscapesQuotesBackslashesAndEveryControlCharacter) {
  EXPECT_EQ(JsonString("a\"b\\c"), R"("a\"b\\c")");
  EXPECT_EQ(JsonString("\n\r\t\b\f"), R"("\n\r\t\b\f")");
  EXPECT_EQ(JsonString(std::string("\x01\x1F\x7F", 3)), "\"\\u0001\\u001F\x7F\"");
  EXPECT_EQ(JsonString(std::string("a\0b", 3)), R"("a\u0000b")");
  EXPECT_EQ(JsonString("x\xC3"), "\"x" + kFFFD + "\"");
}

TEST(PrintableText, KeepsTerminalControlsOut) {
  EXPECT_EQ(PrintableText("\x1B[2Jname\x07"), "?[2Jname?");
  EXPECT_EQ(PrintableText("\xC2\x9B" "1m\xC2\xA0"), "?1m\xC2\xA0");  // C1 CSI, then a no-break space
}

DeviceRecord FullRecord() {
  DeviceRecord record = Record(0x7F, "nas \"one\"", "198.51.100.10", "198.51.100.20");
  record.bonded = 1;
  record.auxNumber = -3;
  record.portCount = 2;
  record.primaryPort = 1;
  record.auxText = "aux";
  record.interfaceIndex = 1;
  record.ports[0].netmask = "255.255.255.192";
  record.ports[0].gateway = "198.51.100.1";
  record.ports[0].addrA = "A0";
  record.ports[0].addrB = "B0";
  record.ports[0].dhcp = "0";
  record.ports[0].option = 7;
  record.ports[1].dhcp = "1";
  return record;
}

TEST(DevicesJson, WritesEveryKeyInOrderWithTwoPorts) {
  const std::string expected =
      "[\n  {\"name\":\"nas \\\"one\\\"\",\"id\":\"0x00,0x1B,0x2C,0xA0,0x0F,0x30,0x00,0x7F\","
      "\"model\":\"VRX-510L\",\"bonded\":1,\"auxNumber\":-3,\"portCount\":2,\"primaryPort\":1,"
      "\"auxText\":\"aux\",\"interfaceIndex\":1,\"interface\":\"203.0.113.1\",\"ports\":["
      "{\"ip\":\"198.51.100.10\",\"netmask\":\"255.255.255.192\",\"gateway\":\"198.51.100.1\","
      "\"addrA\":\"A0\",\"addrB\":\"B0\",\"dhcp\":\"0\",\"option\":7},"
      "{\"ip\":\"198.51.100.20\",\"netmask\":\"\",\"gateway\":\"\",\"addrA\":\"\",\"addrB\":\"\","
      "\"dhcp\":\"1\",\"option\":0}]}\n]\n";
  EXPECT_EQ(DevicesJson({FullRecord()}, {"198.51.100.2", "203.0.113.1"}), expected);
}

TEST(DevicesJson, EmptyTableAndUnknownInterface) {
  EXPECT_EQ(DevicesJson({}, {"198.51.100.2"}), "[]\n");
  const std::string json = DevicesJson({FullRecord(), Record(2, "b\xFF", "")}, {"198.51.100.2"});
  EXPECT_NE(json.find("\"interface\":\"\""), std::string::npos);
  EXPECT_NE(json.find("\"name\":\"b" + kFFFD + "\""), std::string::npos);
  EXPECT_NE(json.find("}]},\n  {"), std::string::npos);  // two elements, comma between
}

TEST(SharesJson, ListsTheNamesInOrder) {
  EXPECT_EQ(SharesJson({ShareName("HDD_1"), ShareName("Recycle Bin - HDD_1"), ShareName("t\tab")}),
            "[\n  \"HDD_1\",\n  \"Recycle Bin - HDD_1\",\n  \"t\\tab\"\n]\n");
  EXPECT_EQ(SharesJson({}), "[]\n");
}

TEST(DeviceTableText, ShowsThePrimaryPortInAlignedColumns) {
  DeviceRecord second = Record(2, "b\x1B", "198.51.100.30");
  second.interfaceIndex = 0;
  const std::string text = DeviceTableText({FullRecord(), second}, {"198.51.100.2", "203.0.113.1"});
  std::istringstream lines(text);
  std::string header, first, other;
  std::getline(lines, header);
  std::getline(lines, first);
  std::getline(lines, other);
  EXPECT_EQ(header.find("ID"), first.find("0x00,"));
  EXPECT_EQ(header.find("INTERFACE"), first.find("203.0.113.1"));
  EXPECT_EQ(header.find("IP"), first.find("198.51.100.20"));  // primaryPort 1
  EXPECT_EQ(other.rfind("b?", 0), 0u);
  EXPECT_EQ(DeviceTableText({}, {}), "No devices found.\n");
}

// --- Doctor ------------------------------------------------------------------------------------

using net::SkipReason;
using Skip = std::optional<SkipReason>;

net::LocalAddress Local(const std::string& name, bool up, bool loopback) {
  return {name, "192.0.2." + std::to_string(name.size()), 0, up, loopback};
}

// Catches: skipped addresses using up one of the 8 places, loopback reported as down, order lost.
TEST(ChooseAddresses, KeepsTheFirstEightUpAndNotLoopbackInTheSystemsOrder) {
  std::vector<net::LocalAddress> addresses = {Local("lo", true, true), Local("off", false, false),
                                              Local("lo-off", false, true)};
  for (int i = 0; i < 9; ++i) addresses.push_back(Local("up" + std::to_string(i), true, false));
  addresses.push_back(Local("late-off", false, false));
  std::vector<Skip> expected = {SkipReason::Loopback, SkipReason::Down, SkipReason::Loopback};
  expected.insert(expected.end(), 8, std::nullopt);
  expected.push_back(SkipReason::BeyondLimit);
  expected.push_back(SkipReason::Down);
  EXPECT_EQ(net::ChooseAddresses(addresses, 8), expected);
  EXPECT_EQ(net::ChooseAddresses({}, 8), std::vector<Skip>{});
}

AddressFindings Findings(const std::string& name, const std::string& address, Skip skipped, int boxes = 0) {
  AddressFindings each;
  each.local = {name, address, 0, skipped != SkipReason::Down, skipped == SkipReason::Loopback};
  each.skipped = skipped;
  each.searched = ShouldSearch(skipped);
  if (each.searched) each.steps = {true, true, true, ""};
  each.stats.boxes = boxes;
  each.stats.answered = boxes;
  return each;
}

const std::string kNothingAnswered =
    "Searched 2 interfaces and no box answered. Check the cable and the box's power, that no firewall drops "
    "UDP port 24680 or multicast, and that the box is not behind a router: this protocol does not cross "
    "routers.";

// Catches: boxes beyond the first 8 counted as listed (exit 0 for a box the window never shows), a wrong
// case chosen, counts or places garbled.
TEST(DoctorVerdict, SaysWhereTheBoxesAreOrWhyNoneIsFound) {
  const AddressFindings lo = Findings("lo", "127.0.0.1", SkipReason::Loopback);
  const AddressFindings down = Findings("wifi", "192.0.2.7", SkipReason::Down);
  AddressFindings deaf = Findings("b", "192.0.2.2", std::nullopt);
  deaf.steps = {true, false, false, "binding port 24680: Address already in use (98)"};
  AddressFindings rejecting = Findings("b", "192.0.2.2", std::nullopt);
  rejecting.stats.rejectedModel = 2;
  AddressFindings foreignOnly = Findings("a", "192.0.2.1", std::nullopt);
  foreignOnly.stats.foreign = 3;
  AddressFindings invalidToo = rejecting;
  invalidToo.stats.invalid = 1;
  AddressFindings receiveErrors = Findings("a", "192.0.2.1", std::nullopt);
  receiveErrors.stats.invalid = 2;  // socket errors count here too: no claim that a reply arrived
  AddressFindings siblingsOnly = Findings("a", "192.0.2.1", std::nullopt);
  siblingsOnly.stats.sibling = 2;
  const std::string foreignPoints =
      " A reply to another search (another program's, or a late one to an earlier search) means that a box "
      "hears the network but this PC's requests do not reach it: check that no firewall on this PC drops "
      "outgoing UDP port 24680 or multicast.";
  const std::string invalidPoints =
      " A receive fails the check when a reply comes from a device that speaks another form of this protocol or "
      "was damaged on the way, when a datagram is too large, or when the receive socket reports an error.";
  const struct {
    std::vector<AddressFindings> addresses;
    int listed;
    std::string verdict;
  } cases[] = {
      {{}, 0, "No interface to search: the system lists no IPv4 address that is up and not loopback. "
              "Connect this PC to the box's network."},
      {{lo, down}, 0, "No interface to search: the system lists no IPv4 address that is up and not loopback. "
                      "Connect this PC to the box's network."},
      {{lo, Findings("a", "192.0.2.1", std::nullopt, 2), Findings("b", "192.0.2.2", std::nullopt),
        Findings("c", "192.0.2.3", std::nullopt, 1)},
       3, "Found 3 boxes: 2 through a (192.0.2.1) and 1 through c (192.0.2.3)."},
      {{Findings("a", "192.0.2.1", std::nullopt, 1), Findings("z", "192.0.2.9", SkipReason::BeyondLimit, 1)},
       1, "Found 1 box, through a (192.0.2.1). 1 more box answers, through z (192.0.2.9), beyond the first 8 "
          "addresses, and is not listed."},
      {{Findings("a", "192.0.2.1", std::nullopt), Findings("z", "192.0.2.9", SkipReason::BeyondLimit, 2)},
       0, "No box can be found: 2 boxes answer, through z (192.0.2.9), but that address is beyond the first 8 "
          "addresses, the only ones searched. Disable network adapters that are not needed, so that the box's "
          "network is among the first 8."},
      {{deaf}, 0, "No box can be found: no interface could listen for replies (see the socket errors above)."},
      {{rejecting, down}, 0, "No box can be found: 2 replies came from a model that is not supported, and no "
                             "supported box answered. " + kNothingAnswered.substr(kNothingAnswered.find("Check"))},
      {{lo, Findings("a", "192.0.2.1", std::nullopt), Findings("b", "192.0.2.2", std::nullopt)}, 0,
       kNothingAnswered},
      {{foreignOnly, Findings("b", "192.0.2.2", std::nullopt)}, 0,
       "No box can be found: no supported box answered this search, but 3 replies that did not answer this "
       "search arrived." + foreignPoints},
      {{foreignOnly, invalidToo}, 0,
       "No box can be found: no supported box answered this search, but 3 replies that did not answer this "
       "search and 2 replies of a model that is not supported arrived; 1 receive failed the reply check." +
           foreignPoints + invalidPoints},
      {{receiveErrors}, 0,
       "No box can be found: no supported box answered this search, and 2 receives failed the reply check." +
           invalidPoints},
      {{siblingsOnly, Findings("b", "192.0.2.2", std::nullopt)}, 0, kNothingAnswered},
  };
  for (const auto& each : cases) {
    const DoctorFindings findings{each.addresses};
    EXPECT_EQ(ListedBoxes(findings), each.listed) << each.verdict;
    EXPECT_EQ(Verdict(findings), each.verdict);
  }
}

// Catches: figures of an unsearched address given as numbers, reason or error not null when there is
// none, keys out of order, a skipped searched address's socket steps lost.
TEST(DoctorJson, OneObjectPerAddressWithNullsWhereNothingApplies) {
  AddressFindings kept = Findings("lan \"0\"", "198.51.100.1", std::nullopt, 1);
  kept.portShared = true;
  kept.stats = {1, 2, 3, 4, 1, 5};
  AddressFindings beyond = Findings("lan8", "203.0.113.1", SkipReason::BeyondLimit, 1);
  beyond.steps = {true, true, false, "joining group 224.0.0.10: No such device (19)"};
  const std::string expected =
      "{\"interfaces\":[\n"
      "  {\"name\":\"lo\",\"address\":\"127.0.0.1\",\"up\":true,\"loopback\":true,\"kept\":false,"
      "\"reason\":\"loopback\",\"opened\":false,\"bound\":false,\"joined\":false,\"portShared\":false,"
      "\"error\":null,\"boxes\":null,\"dropped\":null,\"siblingReplies\":null},\n"
      "  {\"name\":\"lan \\\"0\\\"\",\"address\":\"198.51.100.1\",\"up\":true,\"loopback\":false,\"kept\":true,"
      "\"reason\":null,\"opened\":true,\"bound\":true,\"joined\":true,\"portShared\":true,\"error\":null,"
      "\"boxes\":1,\"dropped\":{\"foreign\":2,\"invalid\":3,\"rejectedModel\":4},\"siblingReplies\":5},\n"
      "  {\"name\":\"lan8\",\"address\":\"203.0.113.1\",\"up\":true,\"loopback\":false,\"kept\":false,"
      "\"reason\":\"beyond the first 8 addresses\",\"opened\":true,\"bound\":true,\"joined\":false,"
      "\"portShared\":false,\"error\":\"joining group 224.0.0.10: No such device (19)\",\"boxes\":1,"
      "\"dropped\":{\"foreign\":0,\"invalid\":0,\"rejectedModel\":0},\"siblingReplies\":0}\n"
      "],\n\"boxes\":1,\n\"verdict\":\"Found 1 box, through lan \\\"0\\\" (198.51.100.1). 1 more box answers, "
      "through lan8 (203.0.113.1), beyond the first 8 addresses, and is not listed.\"}\n";
  EXPECT_EQ(DoctorJson({{Findings("lo", "127.0.0.1", SkipReason::Loopback), kept, beyond}}), expected);
  EXPECT_EQ(DoctorJson({}).substr(0, 18), "{\"interfaces\":[],\n");
}

// One box on two kept addresses: each address counts it, as it answered through each; the top-level count
// and the verdict count it once, where the main window lists it. Catches: the second address shown with
// 0 boxes (the merged table's count), or the box counted twice at the top.
TEST(DoctorCounts, EachAddressCountsTheBoxesThatAnsweredThroughIt) {
  AddressFindings second = Findings("lan1", "203.0.113.1", std::nullopt);
  second.stats.answered = 1;
  const DoctorFindings findings{{Findings("lan0", "198.51.100.1", std::nullopt, 1), second}};
  const std::string text = DoctorText(findings);
  EXPECT_NE(text.find("  lan0 (198.51.100.1): 1 box, nothing dropped\n  lan1 (203.0.113.1): 1 box, nothing dropped\n"),
            std::string::npos) << text;
  EXPECT_NE(text.find("Verdict: Found 1 box, through lan0 (198.51.100.1).\n"), std::string::npos) << text;
  second.stats.sibling = 1;
  second.stats.foreign = 2;
  EXPECT_NE(DoctorText({{second}}).find("  lan1 (203.0.113.1): 1 box; replies dropped: 2 for another program; 1 "
                                        "reply answers this PC's search through another address\n"),
            std::string::npos);
  const std::string json = DoctorJson(findings);
  const std::string lan1 = json.substr(json.find("\"address\":\"203.0.113.1\""));
  EXPECT_NE(lan1.substr(0, lan1.find('}')).find("\"boxes\":1,"), std::string::npos) << json;
  EXPECT_NE(json.find("],\n\"boxes\":1,\n"), std::string::npos) << json;
}

TEST(ReadPasswordLine, StripsTheLineEndOnly) {
  auto read = [](const std::string& input) {
    std::istringstream in(input);
    return ReadPasswordLine(in);
  };
  EXPECT_EQ(read("s3cr t\r\nnext\n"), "s3cr t");
  EXPECT_EQ(read("pw\n"), "pw");
  EXPECT_EQ(read("\r\n"), "");
  EXPECT_EQ(read("no line end"), "no line end");
  EXPECT_EQ(read(""), "");
}

}  // namespace
}  // namespace quorvel::cli
