// The receive path of a real socket with its system calls scripted: which reads it reports, which
// it drops as another interface's, and what a failed read does to a search.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <deque>
#include <ostream>

#include "fake_transport.h"
#include "socket_api.h"

namespace quorvel {
namespace {

using testkit::ByteVector;
using testkit::ReplyBuilder;
using testkit::VirtualClock;

constexpr unsigned kOurInterface = 3;
constexpr unsigned kOtherInterface = 5;
constexpr std::intptr_t kHandle = 7;

// One scripted read: due at a time of the clock; a negative result is a failed read.
struct Read {
  std::int64_t due = 0;
  long result = 0;
  unsigned arrivedOn = kOurInterface;
  ByteVector bytes;
};

// The socket calls over a script of reads, timed by a virtual clock; closing does nothing.
class ScriptedCalls final : public net::SocketCalls {
 public:
  explicit ScriptedCalls(VirtualClock& clock) : clock_(clock) {}

  std::vector<bool> WaitReadable(std::span<const std::intptr_t> handles, std::int64_t timeoutMicros) override {
    const std::int64_t until = clock_.NowMicros() + timeoutMicros;
    const bool ready = !reads.empty() && reads.front().due <= until;
    clock_.Advance((ready ? std::max(reads.front().due, clock_.NowMicros()) : until) - clock_.NowMicros());
    return std::vector<bool>(handles.size(), ready);
  }

  long ReadMessage(std::intptr_t, std::span<std::byte> data, std::span<std::byte> control,
                   std::size_t& controlLength) override {
    const Read read = reads.front();
    reads.pop_front();
    clock_.Advance(testkit::FakeTransport::kDatagramCostMicros);
    if (read.result < 0) return read.result;  // as the system: nothing filled in
    std::memcpy(data.data(), read.bytes.data(), std::min(read.bytes.size(), data.size()));
    msghdr message{};
    message.msg_control = control.data();
    message.msg_controllen = control.size();
    cmsghdr* c = CMSG_FIRSTHDR(&message);
    c->cmsg_level = IPPROTO_IP;
    c->cmsg_type = IP_PKTINFO;
    c->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
    in_pktinfo info{};
    info.ipi_ifindex = static_cast<int>(read.arrivedOn);
    std::memcpy(CMSG_DATA(c), &info, sizeof info);
    controlLength = CMSG_SPACE(sizeof(in_pktinfo));
    return read.result;
  }

  void Close(std::intptr_t) override {}

  std::deque<Read> reads;

 private:
  VirtualClock& clock_;
};

Read Datagram(ByteVector bytes, std::int64_t due = 0, unsigned arrivedOn = kOurInterface) {
  const long length = static_cast<long>(bytes.size());
  return {due, length, arrivedOn, std::move(bytes)};
}

Read Failure(std::int64_t due = 0) { return {due, -1, kOurInterface, {}}; }

struct ReceiveCase {
  friend void PrintTo(const ReceiveCase& c, std::ostream* out) { *out << c.name; }
  const char* name;
  std::vector<Read> reads;
  Received expected;
};

class SocketReceiveTest : public ::testing::TestWithParam<ReceiveCase> {};

TEST_P(SocketReceiveTest, ReportsWhatCameOnItsInterface) {
  VirtualClock clock;
  ScriptedCalls calls(clock);
  for (Read read : GetParam().reads) {
    read.due += clock.NowMicros();
    calls.reads.push_back(read);
  }
  net::UdpSocket socket = net::UdpSocket::Adopt(kHandle, kOurInterface, calls);
  PacketBuffer buffer{};
  const Received received = socket.Receive(10'000, buffer);
  const Received& expected = GetParam().expected;
  EXPECT_EQ(std::pair(received.arrived, received.length), std::pair(expected.arrived, expected.length));
}

INSTANTIATE_TEST_SUITE_P(
    Reads, SocketReceiveTest,
    ::testing::Values(
        ReceiveCase{"OurDatagram", {Datagram(ByteVector(60))}, {true, 60}},
        ReceiveCase{"AnotherInterfacesDatagramIsSkipped",
                    {Datagram(ByteVector(70), 0, kOtherInterface), Datagram(ByteVector(60), 2000)}, {true, 60}},
        // A failed read is reported at once, not taken for another interface's datagram.
        ReceiveCase{"AFailedReadIsReported", {Failure(), Datagram(ByteVector(60), 2000)}, {true, -1}}),
    [](const auto& p) { return std::string(p.param.name); });

// A transport of one interface over one adopted socket; the reads start when the request leaves.
class SocketTransport final : public Transport {
 public:
  SocketTransport(VirtualClock& clock, ScriptedCalls& calls, std::function<std::vector<Read>(const ByteVector&)> answer)
      : clock_(clock), calls_(calls), answer_(std::move(answer)),
        socket_(net::UdpSocket::Adopt(kHandle, kOurInterface, calls)) {}

  bool Start() override { return true; }
  void Stop() override {}
  int InterfaceCount() const override { return 1; }
  std::string InterfaceAddress(int) const override { return "198.51.100.1"; }
  int InterfacePrefixLength(int) const override { return 24; }
  void SendOnInterface(int, Bytes request) override {
    for (Read read : answer_(testkit::ToVector(request))) {
      read.due += clock_.NowMicros();
      calls_.reads.push_back(read);
    }
  }
  Received ReceiveOnInterface(int, int timeoutMicros, PacketBuffer& buffer) override {
    return socket_.Receive(timeoutMicros, buffer);
  }
  std::vector<int> WaitReadable(std::span<const int>, int timeoutMicros) override {
    const net::UdpSocket* sockets[] = {&socket_};
    return net::UdpSocket::WaitReadable(sockets, timeoutMicros)[0] ? std::vector<int>{0} : std::vector<int>{};
  }

 private:
  VirtualClock& clock_;
  ScriptedCalls& calls_;
  std::function<std::vector<Read>(const ByteVector&)> answer_;
  net::UdpSocket socket_;
};

// A box answers at 1 ms; then come failed reads, 100 of them 1 ms apart, or datagrams of another
// interface, back to back for 100 ms. Neither counts a poll, but only a failed read starts a new
// poll: another interface's datagrams leave this interface quiet, so its polls run out as if
// nothing came, and a stream of them cannot hold the search.
struct SearchCase {
  friend void PrintTo(const SearchCase& c, std::ostream* out) { *out << c.name; }
  const char* name;
  bool fail;
  std::int64_t minMicros;
  std::int64_t maxMicros;
  int invalid;
};

class SocketSearchTest : public ::testing::TestWithParam<SearchCase> {};

constexpr std::int64_t kCost = testkit::FakeTransport::kDatagramCostMicros;
constexpr std::int64_t kAfterBox = 1000 + kCost;

TEST_P(SocketSearchTest, CountsThePollsOfItsOwnInterface) {
  VirtualClock clock;
  ScriptedCalls calls(clock);
  const DeviceId box = testkit::MakeDeviceId(1);
  auto answer = [&](const ByteVector& request) {
    std::vector<Read> reads{Datagram(ReplyBuilder(request).Device(box).Field(FLD_MODEL, "VRX-510L").Build(), 1000)};
    for (int k = 2; GetParam().fail && k <= 101; ++k) reads.push_back(Failure(k * 1000));
    for (int k = 11; !GetParam().fail && k <= 1010; ++k) {
      reads.push_back(Datagram(ByteVector(60), k * kCost, kOtherInterface));
    }
    return reads;
  };
  DeviceProtocol protocol(std::make_unique<SocketTransport>(clock, calls, answer), clock);
  ASSERT_TRUE(protocol.NetStartup());
  const std::int64_t start = clock.NowMicros();
  protocol.SearchDevices();
  ASSERT_EQ(protocol.DeviceTable().size(), 1u);
  EXPECT_EQ(protocol.LastSearchStats()[0].invalid, GetParam().invalid);
  EXPECT_GE(clock.NowMicros() - start, GetParam().minMicros);
  EXPECT_LE(clock.NowMicros() - start, GetParam().maxMicros);
}

INSTANTIATE_TEST_SUITE_P(
    Reads, SocketSearchTest,
    ::testing::Values(
        SearchCase{"AFailedReadCountsNoPoll", true, kAfterBox + 100 * 1000 + 100 * SEARCH_POLL_MICROS,
                   kAfterBox + 100 * 1000 + 100 * SEARCH_POLL_MICROS, 100},
        SearchCase{"AnotherInterfacesDatagramsLeaveItQuiet", false, kAfterBox + 99 * SEARCH_POLL_MICROS,
                   kAfterBox + 100 * SEARCH_POLL_MICROS, 0}),
    [](const auto& p) { return std::string(p.param.name); });

// The system's wait over descriptors of 1024 and more, which a select set cannot hold (it wrote past
// the set): each gives its own readiness. Local datagram sockets, nothing leaves the process.
TEST(SystemWait, TellsEachDescriptorApartWhateverItsNumber) {
  rlimit limit{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
  constexpr int kHigh = 1100;
  if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max <= kHigh + 4) GTEST_SKIP() << "descriptor limit too low";
  const rlimit before = limit;
  limit.rlim_cur = kHigh + 4;
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);
  int quiet[2], ready[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_DGRAM, 0, quiet), 0);
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_DGRAM, 0, ready), 0);
  ASSERT_EQ(dup2(ready[0], kHigh), kHigh);
  ASSERT_EQ(dup2(quiet[0], kHigh + 2), kHigh + 2);
  ASSERT_EQ(write(ready[1], "x", 1), 1);
  const std::intptr_t handles[] = {quiet[0], kHigh, kHigh + 2};
  const std::vector<bool> readable = net::SystemSocketCalls().WaitReadable(handles, 100 * 1000);
  for (int fd : {quiet[0], quiet[1], ready[0], ready[1], kHigh, kHigh + 2}) close(fd);
  setrlimit(RLIMIT_NOFILE, &before);
  EXPECT_EQ(readable, (std::vector<bool>{false, true, false}));
}

}  // namespace
}  // namespace quorvel
