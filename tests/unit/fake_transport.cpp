#include "fake_transport.h"

#include <algorithm>
#include <cstring>

namespace quorvel::testkit {

FakeTransport::FakeTransport(VirtualClock& clock, std::vector<std::string> addresses)
    : clock_(clock) {
  for (std::string& address : addresses) {
    interfaces_.push_back({std::move(address), kDefaultPrefixLength, 0, {}, {}, {}, {}, {}, {}});
  }
}

std::string FakeTransport::InterfaceAddress(int index) const {
  return index >= 0 && index < InterfaceCount() ? interfaces_[index].address : std::string();
}

int FakeTransport::InterfacePrefixLength(int index) const {
  return index >= 0 && index < InterfaceCount() ? interfaces_[index].prefixLength : 0;
}

unsigned FakeTransport::InterfaceSystemIndex(int index) const {
  return index >= 0 && index < InterfaceCount() ? interfaces_[index].systemIndex : 0;
}

std::size_t FakeTransport::SentCount() const {
  std::size_t count = 0;
  for (const Interface& each : interfaces_) count += each.sent.size();
  return count;
}

std::vector<FakeTransport::Queued>::iterator FakeTransport::EarliestDue(Interface& each,
                                                                        std::int64_t limit) {
  auto best = each.queue.end();
  for (auto it = each.queue.begin(); it != each.queue.end(); ++it) {
    if (it->due <= limit && (best == each.queue.end() || it->due < best->due)) best = it;
  }
  return best;
}

void FakeTransport::Inject(int index, ByteVector bytes, std::int64_t delayMicros) {
  interfaces_.at(index).queue.push_back({clock_.NowMicros() + delayMicros, {std::move(bytes)}});
}

void FakeTransport::SendOnInterface(int index, Bytes request) {
  if (index < 0 || index >= InterfaceCount()) return;
  Interface& each = interfaces_[index];
  each.sent.push_back(ToVector(request));
  each.sentAt.push_back(clock_.NowMicros());
  std::vector<Interface*> hearers{&each};
  for (Interface& other : interfaces_) {
    if (!hearEachOther_ || &other == &each) continue;
    other.queue.push_back({clock_.NowMicros(), {each.sent.back()}});
    hearers.push_back(&other);
  }
  if (!each.box) return;
  for (Datagram& datagram : each.box(each.sent.back())) {
    const std::int64_t due = clock_.NowMicros() + datagram.delayMicros;
    for (Interface* hearer : hearers) hearer->queue.push_back({due, datagram});
  }
}

Received FakeTransport::ReceiveOnInterface(int index, int timeoutMicros, PacketBuffer& buffer) {
  if (index < 0 || index >= InterfaceCount()) return {};
  Interface& each = interfaces_[index];
  auto deliver = [&](const Datagram& datagram) {
    const std::size_t n = std::min(datagram.bytes.size(), buffer.size());
    std::copy_n(datagram.bytes.begin(), n, buffer.begin());
    return Received{true, datagram.reportedLength.value_or(static_cast<int>(datagram.bytes.size()))};
  };
  const std::int64_t now = clock_.NowMicros();
  auto next = EarliestDue(each, now);
  if (next == each.queue.end() && PendingChatter(each)) {
    Datagram noise{std::move(*each.heard)};
    each.heard.reset();
    clock_.Advance(kDatagramCostMicros);
    return deliver(noise);
  }
  if (next == each.queue.end()) next = EarliestDue(each, now + timeoutMicros);
  if (next == each.queue.end()) {
    clock_.Advance(timeoutMicros);
    return {};
  }
  clock_.Advance(std::max<std::int64_t>(next->due - now, 0) + kDatagramCostMicros);
  const Datagram datagram = std::move(next->datagram);
  each.queue.erase(next);
  return deliver(datagram);
}

const ByteVector* FakeTransport::PendingChatter(Interface& each) {
  if (!each.chatter) return nullptr;
  if (!each.heard) {
    ByteVector noise = each.chatter();
    if (noise.empty()) return nullptr;
    each.heard = std::move(noise);
  }
  return &*each.heard;
}

std::vector<int> FakeTransport::WaitReadable(std::span<const int> indices, int timeoutMicros) {
  std::vector<int> known;
  for (int index : indices) {
    if (index >= 0 && index < InterfaceCount()) known.push_back(index);
  }
  auto readableNow = [&] {
    std::vector<int> ready;
    for (int index : known) {
      Interface& each = interfaces_[index];
      if (EarliestDue(each, clock_.NowMicros()) != each.queue.end() || PendingChatter(each)) ready.push_back(index);
    }
    return ready;
  };
  if (std::vector<int> ready = readableNow(); !ready.empty()) return ready;
  std::int64_t until = clock_.NowMicros() + timeoutMicros;
  for (int index : known) {
    Interface& each = interfaces_[index];
    if (const auto next = EarliestDue(each, until); next != each.queue.end()) until = next->due;
  }
  clock_.Advance(until - clock_.NowMicros());
  return readableNow();
}

namespace {

void Put16(ByteVector& bytes, std::size_t offset, std::uint16_t value) {
  bytes[offset] = std::byte(value & 0xFF);
  bytes[offset + 1] = std::byte(value >> 8);
}

void Append(ByteVector& bytes, std::string_view text) {
  for (char c : text) bytes.push_back(std::byte(static_cast<unsigned char>(c)));
}

}  // namespace

ReplyBuilder::ReplyBuilder(std::uint16_t opcode, const ClientId& client) : bytes_(HEADER_SIZE) {
  Put16(bytes_, 0, REPLY_MAGIC);
  Put16(bytes_, 2, opcode);
  std::memcpy(bytes_.data() + 8, client.data(), client.size());
}

ReplyBuilder::ReplyBuilder(const ByteVector& request) : bytes_(HEADER_SIZE) {
  Put16(bytes_, 0, REPLY_MAGIC);
  std::copy_n(request.begin() + 2, 2, bytes_.begin() + 2);
  std::copy_n(request.begin() + 8, 16, bytes_.begin() + 8);  // its tag, and the box a command names
}

ReplyBuilder& ReplyBuilder::Status(std::uint16_t status) {
  Put16(bytes_, 4, status);
  return *this;
}

ReplyBuilder& ReplyBuilder::Device(const DeviceId& id) {
  std::memcpy(bytes_.data() + 16, id.data(), id.size());
  return *this;
}

ReplyBuilder& ReplyBuilder::Magic(std::uint16_t magic) {
  Put16(bytes_, 0, magic);
  return *this;
}

ReplyBuilder& ReplyBuilder::Opcode(std::uint16_t opcode) {
  Put16(bytes_, 2, opcode);
  return *this;
}

ReplyBuilder& ReplyBuilder::Field(std::uint16_t code, std::string_view value) {
  const std::size_t padded = value.empty() ? 0 : (value.size() / 4 + 1) * 4;
  std::string bytes(value);
  bytes.resize(padded, '\0');
  return RawField(code, static_cast<std::uint16_t>(4 + padded), bytes);
}

ReplyBuilder& ReplyBuilder::RawField(std::uint16_t code, std::uint16_t declaredLength,
                                     std::string_view bytes) {
  const std::size_t at = bytes_.size();
  bytes_.resize(at + 4);
  Put16(bytes_, at, code);
  Put16(bytes_, at + 2, declaredLength);
  Append(bytes_, bytes);
  return *this;
}

ReplyBuilder& ReplyBuilder::Raw(std::string_view bytes) {
  Append(bytes_, bytes);
  return *this;
}

ReplyBuilder& ReplyBuilder::PayloadLength(std::uint16_t length) {
  payloadLength_ = length;
  return *this;
}

ByteVector ReplyBuilder::Build() const {
  ByteVector out = bytes_;
  const std::size_t payload = out.size() - HEADER_SIZE;
  Put16(out, 42, payloadLength_ >= 0 ? static_cast<std::uint16_t>(payloadLength_)
                                     : static_cast<std::uint16_t>(payload));
  return out;
}

Chatter ChatterFor(VirtualClock& clock, std::int64_t micros, ByteVector noise) {
  const std::int64_t end = clock.NowMicros() + micros;
  return [&clock, end, noise = std::move(noise)] { return clock.NowMicros() < end ? noise : ByteVector{}; };
}

Box SearchAnswers(std::vector<BoxReply> boxes, Box command) {
  return [boxes = std::move(boxes), command = std::move(command)](const ByteVector& request) {
    if (OpcodeOf(request) != OP_SEARCH) return command ? command(request) : std::vector<Datagram>{};
    std::vector<Datagram> replies;
    for (const BoxReply& box : boxes) {
      ReplyBuilder reply(request);
      reply.Device(box.id);
      for (const auto& [code, value] : box.fields) reply.Field(code, value);
      replies.push_back({reply.Build(), box.delayMicros});
    }
    return replies;
  };
}

Rig::Rig(std::vector<std::string> addresses)
    : protocol(Adopt(std::make_unique<FakeTransport>(clock, std::move(addresses))), clock) {
  protocol.NetStartup();
}

std::unique_ptr<Transport> Rig::Adopt(std::unique_ptr<FakeTransport> fake) {
  transport = fake.get();
  return fake;
}

std::uint16_t OpcodeOf(const ByteVector& request) {
  return request.size() < 4 ? 0 : static_cast<std::uint16_t>(std::to_integer<unsigned>(request[2]) |
                                                             std::to_integer<unsigned>(request[3]) << 8);
}

ClientId TagOf(const ByteVector& request) {
  ClientId tag{};
  for (std::size_t i = 0; i < tag.size() && HDR_CLIENT_ID + i < request.size(); ++i) {
    tag[i] = std::to_integer<std::uint8_t>(request[HDR_CLIENT_ID + i]);
  }
  return tag;
}

ByteVector ToVector(Bytes bytes) { return ByteVector(bytes.begin(), bytes.end()); }

DeviceId MakeDeviceId(std::uint8_t seed) {
  return DeviceId{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, seed};
}

}  // namespace quorvel::testkit
