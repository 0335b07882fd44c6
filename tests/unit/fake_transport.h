// An in-memory transport and a virtual clock for the protocol's unit tests: no sockets, no sleeps.
// Each interface may have a box that answers every request with datagrams due after a delay,
// and a source of chatter that yields a datagram on every receive while nothing else is due.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "clock.h"
#include "device_protocol.h"
#include "transport.h"

namespace quorvel::testkit {

using ByteVector = std::vector<std::byte>;

class VirtualClock final : public Clock {
 public:
  std::int64_t NowMicros() override { return now_; }
  void SleepMillis(int millis) override { now_ += std::int64_t{millis} * 1000; }
  void Advance(std::int64_t micros) { now_ += micros; }

 private:
  std::int64_t now_ = 1'000'000'000;
};

struct Datagram {
  Datagram(ByteVector content, std::int64_t delay = 0, std::optional<int> reported = std::nullopt)
      : bytes(std::move(content)), delayMicros(delay), reportedLength(reported) {}

  ByteVector bytes;
  std::int64_t delayMicros;           // after the request left
  std::optional<int> reportedLength;  // what the receive reports instead of the size
};

// Answers one request that arrived on its interface.
using Box = std::function<std::vector<Datagram>(const ByteVector& request)>;
// Called on a receive when no queued datagram is due yet; an empty result means silence. It is
// asked again for each receive, also during the drain before a send.
using Chatter = std::function<ByteVector()>;

class FakeTransport final : public Transport {
 public:
  static constexpr std::int64_t kDatagramCostMicros = 100;
  static constexpr int kDefaultPrefixLength = 24;

  FakeTransport(VirtualClock& clock, std::vector<std::string> addresses);

  bool Start() override { return true; }
  void Stop() override {}
  int InterfaceCount() const override { return static_cast<int>(interfaces_.size()); }
  std::string InterfaceAddress(int index) const override;
  // Every interface starts with kDefaultPrefixLength; a test may give one another.
  int InterfacePrefixLength(int index) const override;
  void SetPrefixLength(int index, int bits) { interfaces_.at(index).prefixLength = bits; }
  // Every interface has system index 0 (not known) and the PC no other addresses, unless a test says.
  unsigned InterfaceSystemIndex(int index) const override;
  void SetSystemIndex(int index, unsigned systemIndex) { interfaces_.at(index).systemIndex = systemIndex; }
  std::vector<std::string> LocalAddresses() const override { return localAddresses_; }
  void SetLocalAddresses(std::vector<std::string> addresses) { localAddresses_ = std::move(addresses); }
  // Records the request and hands it to the interface's box, whose datagrams are then queued.
  void SendOnInterface(int index, Bytes request) override;
  // Delivers the earliest datagram due within the timeout, moving the clock to its due time plus
  // kDatagramCostMicros (an endless stream still moves time); with nothing due yet, the chatter
  // speaks if there is any, else the clock moves by the whole timeout. Like a socket, a datagram
  // longer than the buffer fills the buffer and reports its full length.
  Received ReceiveOnInterface(int index, int timeoutMicros, PacketBuffer& buffer) override;
  // Interfaces with chatter are readable at once; else the clock moves to the earliest due time
  // within the timeout and the interfaces with a datagram due by then are readable; with nothing
  // due, the clock moves by the whole timeout.
  std::vector<int> WaitReadable(std::span<const int> indices, int timeoutMicros) override;

  void SetBox(int index, Box box) { interfaces_.at(index).box = std::move(box); }
  // One link for every interface (two addresses of one card, or two cards on one LAN): a request sent
  // on one arrives on each other one at once, and so does each datagram of the sender's box.
  void SetHearEachOther(bool on) { hearEachOther_ = on; }
  void SetChatter(int index, Chatter chatter) { interfaces_.at(index).chatter = std::move(chatter); }
  // Puts a datagram on the interface's receive queue, due after delayMicros from now.
  void Inject(int index, ByteVector bytes, std::int64_t delayMicros = 0);

  const std::vector<ByteVector>& Sent(int index) const { return interfaces_.at(index).sent; }
  // The clock's reading at each send on the interface.
  const std::vector<std::int64_t>& SentAt(int index) const { return interfaces_.at(index).sentAt; }
  std::size_t SentCount() const;

 private:
  struct Queued {
    std::int64_t due;
    Datagram datagram;
  };
  struct Interface {
    std::string address;
    int prefixLength = kDefaultPrefixLength;
    unsigned systemIndex = 0;
    Box box;
    Chatter chatter;
    std::optional<ByteVector> heard;
    std::vector<Queued> queue;
    std::vector<ByteVector> sent;
    std::vector<std::int64_t> sentAt;
  };

  // The earliest queued datagram due by `limit`, first queued first among equals; or end().
  std::vector<Queued>::iterator EarliestDue(Interface& each, std::int64_t limit);
  // The chatter's next datagram, asked for once and kept until a receive takes it; or null.
  const ByteVector* PendingChatter(Interface& each);

  VirtualClock& clock_;
  std::vector<Interface> interfaces_;
  std::vector<std::string> localAddresses_;
  bool hearEachOther_ = false;
};

// Builds a reply datagram the way a box does: header with magic AA55, then fields, each value
// NUL-padded to the next multiple of 4 above its length.
class ReplyBuilder {
 public:
  // Echoes the opcode, the tag and the device id of the request it answers (a whole request header):
  // the reply of the box that a command names.
  explicit ReplyBuilder(const ByteVector& request);
  ReplyBuilder(std::uint16_t opcode, const ClientId& client);

  ReplyBuilder& Status(std::uint16_t status);
  ReplyBuilder& Device(const DeviceId& id);
  ReplyBuilder& Magic(std::uint16_t magic);
  ReplyBuilder& Opcode(std::uint16_t opcode);
  ReplyBuilder& Field(std::uint16_t code, std::string_view value);
  // A field header with any declared length, followed by the given bytes as they are.
  ReplyBuilder& RawField(std::uint16_t code, std::uint16_t declaredLength, std::string_view bytes);
  ReplyBuilder& Raw(std::string_view bytes);
  // Writes this payload length into the header instead of the true one.
  ReplyBuilder& PayloadLength(std::uint16_t length);

  ByteVector Build() const;

 private:
  ByteVector bytes_;
  int payloadLength_ = -1;
};

using FieldList = std::vector<std::pair<std::uint16_t, std::string>>;

// Chatter that speaks for `micros` from now and then falls silent: longer than any cap or deadline
// of a test, yet finite, so that a wait without its cap shows as a wrong time and not as a hang.
Chatter ChatterFor(VirtualClock& clock, std::int64_t micros, ByteVector noise);

// Answers a search with one reply per box (model and fields as given); other requests go to
// `command`, when there is one.
struct BoxReply {
  DeviceId id{};
  FieldList fields;
  std::int64_t delayMicros = 2'000;
};
Box SearchAnswers(std::vector<BoxReply> boxes, Box command = {});

// A protocol over a fake transport with these interfaces, started, on a virtual clock.
struct Rig {
  explicit Rig(std::vector<std::string> addresses);
  std::int64_t Now() { return clock.NowMicros(); }

  VirtualClock clock;
  FakeTransport* transport = nullptr;  // owned by the protocol
  DeviceProtocol protocol;

 private:
  std::unique_ptr<Transport> Adopt(std::unique_ptr<FakeTransport> fake);
};

std::uint16_t OpcodeOf(const ByteVector& request);
// The tag in a request's ClientId bytes, which a reply to it echoes.
ClientId TagOf(const ByteVector& request);
ByteVector ToVector(Bytes bytes);
DeviceId MakeDeviceId(std::uint8_t seed);

}  // namespace quorvel::testkit
