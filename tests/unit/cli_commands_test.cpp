// Whole quorvel-cli commands over an in-memory transport: one interface, boxes that answer the
// search and the commands from a script, and every request kept for the test to read.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <sstream>

#include "cli_commands.h"
#include "quorvel_version.h"

namespace quorvel::cli {
namespace {

using ByteVector = std::vector<std::byte>;
using FieldList = std::vector<std::pair<std::uint16_t, std::string>>;

struct ScriptedBox {
  DeviceId id{};
  FieldList searchFields;
  std::optional<std::uint16_t> commandStatus = 1;  // nothing: the box stays silent
  std::string shares;                             // colon-separated, for the share request
};

ByteVector Reply(std::uint16_t opcode, std::uint16_t status, Bytes request, const DeviceId& device,
                 const FieldList& fields) {
  PacketBuffer buffer{};
  WriteU16(buffer, HDR_MAGIC, REPLY_MAGIC);
  WriteU16(buffer, HDR_OPCODE, opcode);
  WriteU16(buffer, HDR_STATUS, status);
  std::memcpy(buffer.data() + HDR_CLIENT_ID, request.data() + HDR_CLIENT_ID, 8);
  std::memcpy(buffer.data() + HDR_DEVICE_ID, device.data(), device.size());
  std::size_t end = HEADER_SIZE;
  for (const auto& [code, value] : fields) end += WriteField(buffer, end, code, value);
  WriteU16(buffer, HDR_PAYLOAD_LENGTH, static_cast<std::uint16_t>(end - HEADER_SIZE));
  return ByteVector(buffer.begin(), buffer.begin() + static_cast<long>(end));
}

class ManualClock final : public Clock {
 public:
  std::int64_t NowMicros() override { return now_; }
  void SleepMillis(int millis) override { now_ += millis * 1000LL; }
  void Advance(std::int64_t micros) { now_ += micros; }

 private:
  std::int64_t now_ = 0;
};

class ScriptedTransport final : public Transport {
 public:
  ScriptedTransport(const std::vector<ScriptedBox>& boxes, bool startFails, std::vector<ByteVector>& sent,
                    ManualClock& clock)
      : boxes_(boxes), startFails_(startFails), sent_(sent), clock_(clock) {}

  bool Start() override { return !startFails_; }
  void Stop() override {}
  int InterfaceCount() const override { return 1; }
  std::string InterfaceAddress(int index) const override { return index == 0 ? "198.51.100.2" : ""; }
  int InterfacePrefixLength(int index) const override { return index == 0 ? 24 : 0; }

  void SendOnInterface(int, Bytes request) override {
    sent_.emplace_back(request.begin(), request.end());
    const std::uint16_t opcode = ReadU16(request, HDR_OPCODE);
    for (const ScriptedBox& box : boxes_) {
      if (opcode == OP_SEARCH) {
        pending_.push_back(Reply(opcode, 0, request, box.id, box.searchFields));
      } else if (std::memcmp(request.data() + HDR_DEVICE_ID, box.id.data(), 8) == 0 && box.commandStatus) {
        const FieldList fields = opcode == OP_GET_SHARES ? FieldList{{1, box.shares}} : FieldList{};
        pending_.push_back(Reply(opcode, *box.commandStatus, request, box.id, fields));
      }
    }
  }

  Received ReceiveOnInterface(int, int, PacketBuffer& buffer) override {
    if (pending_.empty()) return {};
    const ByteVector datagram = pending_.front();
    pending_.erase(pending_.begin());
    std::memcpy(buffer.data(), datagram.data(), datagram.size());
    return {true, static_cast<int>(datagram.size())};
  }

  std::vector<int> WaitReadable(std::span<const int>, int timeoutMicros) override {
    if (!pending_.empty()) return {0};
    clock_.Advance(timeoutMicros);
    return {};
  }

 private:
  const std::vector<ScriptedBox>& boxes_;
  bool startFails_;
  std::vector<ByteVector>& sent_;
  ManualClock& clock_;
  std::vector<ByteVector> pending_;
};


constexpr DeviceId kAlphaId{0x00, 0x1B, 0x2C, 0xA0, 0x0F, 0x30, 0x00, 0x01};
constexpr DeviceId kBetaId{0x00, 0x1B, 0x2C, 0xA0, 0x0F, 0x30, 0x00, 0x02};

ScriptedBox Alpha() {
  return {kAlphaId,
          {{FLD_DEVICE_NAME, "alpha"}, {FLD_MODEL, "VRX-517L"}, {FLD_PORT_INDEX, "0"},
           {FLD_PORT_IP, "198.51.100.10"}, {FLD_PORT_ADDR_A, "a0"}, {FLD_PORT_OPTION, "0"},
           {FLD_PORT_INDEX, "1"}, {FLD_PORT_IP, "198.51.100.20"}, {FLD_PORT_ADDR_A, "a1"},
           {FLD_PORT_OPTION, "5"}},
          1,
          ""};
}

ScriptedBox Beta() {
  return {kBetaId, {{FLD_DEVICE_NAME, "beta"}, {FLD_MODEL, "VRX-510L"}, {FLD_PORT_INDEX, "0"},
                    {FLD_PORT_IP, "198.51.100.30"}},
          1,
          ""};
}

// The fields after the credential block of a command request, by code.
std::map<std::uint16_t, std::string> CommandFields(const ByteVector& request) {
  std::map<std::uint16_t, std::string> fields;
  const Bytes bytes(request);
  for (std::size_t at = HEADER_SIZE + AUTH_BLOCK_SIZE; at + 4 <= bytes.size();) {
    const std::uint16_t length = ReadU16(bytes, at + 2);
    if (length < 4 || at + length > bytes.size()) break;
    std::string value(reinterpret_cast<const char*>(bytes.data() + at + 4), length - 4u);
    fields[ReadU16(bytes, at)] = value.substr(0, value.find('\0'));
    at += length;
  }
  return fields;
}

std::string CredentialSlot(const ByteVector& request, std::size_t slot) {
  const char* start = reinterpret_cast<const char*>(request.data() + HEADER_SIZE + slot * AUTH_SLOT_SIZE);
  return std::string(start, strnlen(start, AUTH_SLOT_SIZE));
}

class CliCommandTest : public ::testing::Test {
 protected:
  int Run(std::vector<std::string> args) {
    std::ostringstream out, err;
    const CliEnvironment env{out, err,
                             [this] {
                               ++passwordReads_;
                               return password_;
                             },
                             [this] {
                               ++protocolsMade_;
                               return std::make_unique<DeviceProtocol>(
                                   std::make_unique<ScriptedTransport>(boxes_, startFails_, sent_, clock_), clock_);
                             },
                             [this] {
                               ++examinations_;
                               return doctorFindings_;
                             },
                             [this](const std::string& address, const std::string& local) {
                               probes_.push_back(address + " from " + local);
                               return link_;
                             }};
    const int code = RunCli(args, env);
    out_ = out.str();
    err_ = err.str();
    return code;
  }

  const ByteVector& LastRequest() const { return sent_.back(); }

  std::vector<ScriptedBox> boxes_{Alpha(), Beta()};
  bool startFails_ = false;
  std::string password_ = "secret";
  std::vector<ByteVector> sent_;
  ManualClock clock_;
  int passwordReads_ = 0;
  int protocolsMade_ = 0;
  std::optional<DoctorFindings> doctorFindings_ = DoctorFindings{};
  int examinations_ = 0;
  platform::ProbeAnswer link_ = platform::ProbeAnswer::Silent;  // what the probe of an address finds
  std::vector<std::string> probes_;
  std::string out_, err_;
};

TEST_F(CliCommandTest, SearchPrintsTheTableInOrderAndSucceedsWhenEmpty) {
  EXPECT_EQ(Run({"search", "--json"}), kExitDone);
  EXPECT_LT(out_.find("\"alpha\""), out_.find("\"beta\""));
  EXPECT_NE(out_.find("\"interface\":\"198.51.100.2\""), std::string::npos);
  EXPECT_EQ(passwordReads_, 0);
  boxes_.clear();
  EXPECT_EQ(Run({"search", "--json"}), kExitDone);
  EXPECT_EQ(out_, "[]\n");
}

TEST_F(CliCommandTest, UsageHelpAndVersionNeverStartTheProtocol) {
  EXPECT_EQ(Run({"search", "--help"}), kExitDone);
  EXPECT_NE(out_.find("Usage: quorvel-cli search"), std::string::npos);
  // --version answers on a machine without a network: no search, the project's version.
  EXPECT_EQ(Run({"--version"}), kExitDone);
  EXPECT_EQ(out_, "quorvel-cli " QUORVEL_VERSION_TEXT "\n");
  EXPECT_EQ(Run({"shares", "--device", "alpha"}), kExitUsage);
  EXPECT_NE(err_.find("--user"), std::string::npos);
  EXPECT_EQ(protocolsMade_, 0);
}

TEST_F(CliCommandTest, SocketLibraryFailureIsExitOne) {
  startFails_ = true;
  EXPECT_EQ(Run({"search"}), kExitRefused);
  EXPECT_TRUE(sent_.empty());
}

// Catches: exit 0 for boxes that only answer beyond the first 8 addresses, a password asked for, the
// doctor run on bad usage.
TEST_F(CliCommandTest, DoctorExitsZeroOnlyWhenTheMainWindowWouldListABox) {
  AddressFindings kept;
  kept.local = {"lan0", "198.51.100.1", 1, true, false};
  kept.searched = true;
  AddressFindings beyond = kept;
  beyond.local.name = "lan8";
  beyond.skipped = net::SkipReason::BeyondLimit;
  beyond.stats.boxes = 1;
  doctorFindings_ = DoctorFindings{{kept, beyond}};
  EXPECT_EQ(Run({"doctor"}), kExitRefused);
  EXPECT_NE(out_.find("Verdict: No box can be found"), std::string::npos);
  doctorFindings_->addresses[0].stats.boxes = 1;
  EXPECT_EQ(Run({"doctor", "--json"}), kExitDone);
  EXPECT_NE(out_.find("\"boxes\":1,\n"), std::string::npos);
  EXPECT_EQ(Run({"doctor", "--device", "alpha"}), kExitUsage);
  EXPECT_EQ(examinations_, 2);
  doctorFindings_.reset();
  EXPECT_EQ(Run({"doctor"}), kExitRefused);
  EXPECT_NE(err_.find("socket library"), std::string::npos);
  EXPECT_EQ(passwordReads_ + protocolsMade_, 0);
}

TEST_F(CliCommandTest, CheckPasswordSendsTheCredentialsToTheNamedBox) {
  EXPECT_EQ(Run({"check-password", "--device", "beta", "--user", "admin"}), kExitDone);
  EXPECT_EQ(passwordReads_, 1);
  ASSERT_EQ(sent_.size(), 2u);  // the search, then the check
  EXPECT_EQ(ReadU16(Bytes(LastRequest()), HDR_OPCODE), OP_CHECK_PASSWORD);
  EXPECT_EQ(0, std::memcmp(LastRequest().data() + HDR_DEVICE_ID, kBetaId.data(), 8));
  EXPECT_EQ(CredentialSlot(LastRequest(), 0), "YWRtaW4=");  // "admin"
  EXPECT_EQ(CredentialSlot(LastRequest(), 1), "c2VjcmV0");  // "secret"
}

TEST_F(CliCommandTest, RefusalAndSilenceAreExitOne) {
  boxes_[0].commandStatus = 0;
  EXPECT_EQ(Run({"check-password", "--device", "alpha", "--user", "admin"}), kExitRefused);
  // Caught: a refused share request printing nothing and ending with 0.
  EXPECT_EQ(Run({"shares", "--device", "alpha", "--user", "admin"}), kExitRefused);
  EXPECT_EQ(err_, "Share names refused.\n");
  EXPECT_EQ(out_, "");
  boxes_[0].commandStatus.reset();
  EXPECT_EQ(Run({"check-password", "--device", "alpha", "--user", "admin"}), kExitRefused);
  EXPECT_EQ(Run({"shares", "--device", "alpha", "--user", "admin"}), kExitRefused);
}

TEST_F(CliCommandTest, UnknownDeviceIsExitThreeAfterTheSearchOnly) {
  EXPECT_EQ(Run({"check-password", "--device", "gamma", "--user", "admin"}), kExitNotFound);
  ASSERT_EQ(sent_.size(), 1u);
  EXPECT_EQ(ReadU16(Bytes(sent_[0]), HDR_OPCODE), OP_SEARCH);
}

TEST_F(CliCommandTest, SharesPrintsNamesOncePerLineOrAsJson) {
  boxes_[0].shares = "HDD_1::Recycle Bin - HDD_1:HDD_1:";
  EXPECT_EQ(Run({"shares", "--device", "198.51.100.20", "--user", "admin"}), kExitDone);
  EXPECT_EQ(out_, "HDD_1\nRecycle Bin - HDD_1\n");
  EXPECT_EQ(Run({"shares", "--device", "alpha", "--user", "admin", "--json"}), kExitDone);
  EXPECT_EQ(out_, "[\n  \"HDD_1\",\n  \"Recycle Bin - HDD_1\"\n]\n");
}

TEST_F(CliCommandTest, SetNetworkSendsTheCheckedTextsForTheChosenPort) {
  EXPECT_EQ(Run({"set-network", "--device", "alpha", "--user", "admin", "--port", "LAN2", "--ip",
                 "198.51.100.021", "--netmask", "255.255.255.192", "--gateway", "198.51.100.1"}),
            kExitDone);
  auto fields = CommandFields(LastRequest());
  EXPECT_EQ(fields[FLD_PORT_IP], "198.51.100.21");
  EXPECT_EQ(fields[FLD_PORT_NETMASK], "255.255.255.192");
  EXPECT_EQ(fields[FLD_PORT_GATEWAY], "198.51.100.1");
  EXPECT_EQ(fields[FLD_PORT_ADDR_A], "a1");
  EXPECT_EQ(fields[FLD_PORT_OPTION], "1");
  EXPECT_EQ(fields[FLD_PORT_INDEX], "1");
  EXPECT_EQ(fields[FLD_PORT_DHCP], "0");
}

TEST_F(CliCommandTest, SetNetworkDhcpSendsEmptyAddresses) {
  EXPECT_EQ(Run({"set-network", "--device", "alpha", "--user", "admin", "--port", "LAN1", "--dhcp"}), kExitDone);
  EXPECT_NE(out_.find("DHCP client enabled."), std::string::npos);
  auto fields = CommandFields(LastRequest());
  EXPECT_EQ(fields.size(), 8u);
  EXPECT_EQ(fields[FLD_PORT_IP], "");
  EXPECT_EQ(fields[FLD_PORT_NETMASK], "");
  EXPECT_EQ(fields[FLD_PORT_GATEWAY], "");
  EXPECT_EQ(fields[FLD_PORT_INDEX], "0");
  EXPECT_EQ(fields[FLD_PORT_DHCP], "1");
  boxes_[0].commandStatus = 0;
  EXPECT_EQ(Run({"set-network", "--device", "alpha", "--user", "admin", "--port", "LAN1", "--dhcp"}),
            kExitRefused);
  EXPECT_EQ(err_, "Set to dhcp client fail.\n");
}

TEST_F(CliCommandTest, InvalidSettingsAreRefusedBeforeAnythingIsSent) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--ip", "127.0.0.1", "--netmask", "255.0.0.0"}, "IP address input error. Please try again."},
      {{"--ip", "10.0.0.300", "--netmask", "255.0.0.0"}, "Invalid IP address in 4th digit. It should be 0-255."},
      {{"--ip", "10.0.0.5", "--netmask", "255.0.0.0"},
       "You enter incorrect TCP/IP configuration. Please try again."},
      {{"--ip", "10.0.0.5", "--netmask", "255.0.255.0", "--gateway", "10.0.0.1"},
       "Netmask address input invalid. Please try again."},
      {{"--ip", "198.51.100.255", "--netmask", "255.255.255.0"},
       "198.51.100.255 is the broadcast address of 198.51.100.0/24."},
      {{"--ip", "198.51.100.0", "--netmask", "255.255.255.0", "--gateway", "198.51.100.1"},
       "198.51.100.0 is the network address of 198.51.100.0/24."},
      {{"--ip", "10.1.3.255", "--netmask", "255.255.254.0", "--gateway", "10.1.2.1"},
       "10.1.3.255 is the broadcast address of 10.1.2.0/23."},
  };
  for (const auto& [settings, message] : cases) {
    std::vector<std::string> args = {"set-network", "--device", "alpha", "--user", "admin", "--port", "LAN"};
    args.insert(args.end(), settings.begin(), settings.end());
    EXPECT_EQ(Run(args), kExitUsage);
    EXPECT_EQ(err_, message + "\n");
  }
  EXPECT_EQ(protocolsMade_, 0);
  EXPECT_EQ(passwordReads_, 0);
}

// The PC is 198.51.100.2/24; a held-back address sends nothing after the search.
TEST_F(CliCommandTest, SetNetworkHoldsBackATakenOrOutsideAddressUnlessForced) {
  using platform::ProbeAnswer;
  struct Case {
    std::string ip, gateway;
    ProbeAnswer link;
    bool force;
    int exit;
    std::string err;
    std::size_t probes;
  };
  const std::string taken =
      "Another device already answers at 198.51.100.44. Not sent: use --force to send it anyway.\n";
  const std::string outside =
      "192.0.2.50 is not on this PC's network 198.51.100.0/24. The box will still be found, but its shares and web "
      "pages will not be reachable from this PC. Not sent: use --force to send it anyway.\n";
  const std::string unknown =
      "quorvel-cli: warning: could not find out whether another device answers at 198.51.100.44; sending.\n";
  const std::vector<Case> cases = {
      {"198.51.100.44", "198.51.100.1", ProbeAnswer::Answered, false, kExitNotSent, taken, 1},
      {"198.51.100.44", "198.51.100.1", ProbeAnswer::Answered, true, kExitDone, "", 0},
      {"192.0.2.50", "192.0.2.254", ProbeAnswer::Answered, false, kExitNotSent, outside, 0},
      {"192.0.2.50", "192.0.2.254", ProbeAnswer::Answered, true, kExitDone, "", 0},
      {"198.51.100.44", "198.51.100.1", ProbeAnswer::CannotProbe, false, kExitDone, unknown, 1},
      {"198.51.100.44", "198.51.100.1", ProbeAnswer::Silent, false, kExitDone, "", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ip + (c.force ? " --force" : ""));
    link_ = c.link;
    probes_.clear();
    sent_.clear();
    std::vector<std::string> args = {"set-network", "--device", "alpha", "--user", "admin", "--port", "LAN",
                                     "--ip", c.ip, "--netmask", "255.255.255.0", "--gateway", c.gateway};
    if (c.force) args.push_back("--force");
    EXPECT_EQ(Run(args), c.exit);
    EXPECT_EQ(err_, c.err);
    EXPECT_EQ(probes_.size(), c.probes);
    if (c.probes) {
      EXPECT_EQ(probes_[0], c.ip + " from 198.51.100.2");
    }
    const bool sent = ReadU16(Bytes(sent_.back()), HDR_OPCODE) == OP_SET_NETWORK;
    EXPECT_EQ(sent, c.exit == kExitDone);
  }
}

TEST_F(CliCommandTest, OverlongPasswordIsBadInput) {
  password_ = std::string(64, 'p');
  EXPECT_EQ(Run({"check-password", "--device", "alpha", "--user", "admin"}), kExitUsage);
  EXPECT_EQ(protocolsMade_, 0);
}

}  // namespace
}  // namespace quorvel::cli
