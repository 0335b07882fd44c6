// The socket layer's part that both systems share; each system's side is in socket_api_win32.cpp
// or socket_api_posix.cpp, behind socket_native.h.
#include "socket_api.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <limits>
#include <optional>
#include <thread>
#include <vector>

#include "socket_native.h"

namespace quorvel::net {

namespace native {

std::intptr_t OpenDatagramSocket() { return static_cast<std::intptr_t>(socket(AF_INET, SOCK_DGRAM, 0)); }

in_addr ParseAddress(const std::string& text) {
  in_addr address{};
  inet_pton(AF_INET, text.c_str(), &address);
  return address;
}

sockaddr_in AnyAddress() {
  sockaddr_in any{};
  any.sin_family = AF_INET;
  any.sin_port = htons(DEVICE_PORT);
  any.sin_addr.s_addr = htonl(INADDR_ANY);
  return any;
}

bool BindRefused(const sockaddr_in& address) {
  const std::intptr_t handle = OpenDatagramSocket();
  if (handle == -1) return false;
  const bool refused = bind(Native(handle), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 &&
                       AddressInUse(LastError());
  CloseSocket(handle);
  return refused;
}

}  // namespace native

namespace {

using namespace native;

constexpr int kReceiveBufferBytes = 1 << 20;

// "step: the system's text (code)" for the error that the last call of the socket layer left.
std::string StepError(const char* step) {
  const int code = LastError();
  std::string text = SystemText(code);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.')) {
    text.pop_back();
  }
  return std::string(step) + ": " + (text.empty() ? "error" : text) + " (" + std::to_string(code) + ")";
}

sockaddr_in GroupAddress() {
  sockaddr_in group{};
  group.sin_family = AF_INET;
  group.sin_port = htons(DEVICE_PORT);
  group.sin_addr = ParseAddress(DEVICE_GROUP);
  return group;
}

// Room for the ancillary data of one datagram (the arrival interface on Linux).
constexpr std::size_t kControlBytes = 64;

// A wait in whole milliseconds, rounded up so that a short wait is not a mere look.
int PollMillis(std::int64_t micros) {
  if (micros <= 0) return 0;
  return static_cast<int>(std::min<std::int64_t>((micros + 999) / 1000, std::numeric_limits<int>::max()));
}

class SystemCalls final : public SocketCalls {
 public:
  std::vector<bool> WaitReadable(std::span<const std::intptr_t> handles, std::int64_t timeoutMicros) override {
    std::vector<bool> readable(handles.size(), false);
    if (handles.empty()) {
      // A wait on no socket at all fails at once on Windows: wait the time out here instead.
      std::this_thread::sleep_for(std::chrono::microseconds(timeoutMicros));
      return readable;
    }
    // poll takes any number of sockets and any descriptor value (select holds 64 sockets on
    // Windows and descriptors below 1024 on Linux).
    std::vector<PollEntry> entries(handles.size());
    for (std::size_t i = 0; i < handles.size(); ++i) {
      entries[i].fd = Native(handles[i]);
      entries[i].events = POLLIN;
    }
    if (Poll(entries, PollMillis(timeoutMicros)) <= 0) return readable;
    for (std::size_t i = 0; i < handles.size(); ++i) {
      readable[i] = (entries[i].revents & (POLLIN | POLLERR | POLLHUP)) != 0;
    }
    return readable;
  }

  long ReadMessage(std::intptr_t handle, std::span<std::byte> data, std::span<std::byte> control,
                   std::size_t& controlLength) override {
    return native::ReadMessage(handle, data, control, controlLength);
  }

  void Close(std::intptr_t handle) override { CloseSocket(handle); }
};

// Reads one datagram. Empty when it arrived on another interface than `filter` (0: any); else its
// length, more than the buffer when it did not fit, or the negative value of a failed read.
std::optional<int> ReadDatagram(SocketCalls& calls, std::intptr_t handle, PacketBuffer& buffer, unsigned filter) {
  alignas(std::max_align_t) std::array<std::byte, kControlBytes> control{};
  std::size_t controlLength = control.size();
  const long n = calls.ReadMessage(handle, buffer, control, controlLength);
  // A failed read carries no datagram and no ancillary data: it is reported as the error it is,
  // never taken for another interface's datagram.
  if (n < 0) return static_cast<int>(n);
  if (filter != 0 && ArrivalInterface(control, std::min(controlLength, control.size())) != filter) {
    return std::nullopt;
  }
  return static_cast<int>(n);
}

}  // namespace

// ---- socket library -------------------------------------------------------------------------

SocketLibrary::~SocketLibrary() { Stop(); }

bool SocketLibrary::Start() {
  started_ = StartLibrary();
  return started_;
}

void SocketLibrary::Stop() {
  if (started_) StopLibrary();
  started_ = false;
}

// ---- interface list -------------------------------------------------------------------------

std::vector<LocalInterface> ListLocalInterfaces(std::size_t limit) {
  const std::vector<LocalAddress> addresses = ListLocalAddresses();
  const std::vector<std::optional<SkipReason>> choice = ChooseAddresses(addresses, limit);
  std::vector<LocalInterface> result;
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    if (!choice[i]) result.push_back({addresses[i].address, addresses[i].systemIndex, addresses[i].prefixLength});
  }
  return result;
}

bool PortHeldElsewhere(const LocalInterface& local) { return native::PortHeldElsewhere(local); }

// ---- sockets --------------------------------------------------------------------------------

UdpSocket::~UdpSocket() { Close(); }

SocketCalls& SystemSocketCalls() {
  static SystemCalls calls;
  return calls;
}

UdpSocket UdpSocket::Adopt(std::intptr_t handle, unsigned interfaceFilter, SocketCalls& calls) {
  UdpSocket sock(handle);
  sock.interfaceFilter_ = interfaceFilter;
  sock.calls_ = &calls;
  return sock;
}

UdpSocket::UdpSocket(UdpSocket&& other) noexcept
    : handle_(other.handle_), calls_(other.calls_), interfaceFilter_(other.interfaceFilter_) {
  other.handle_ = -1;
}

UdpSocket& UdpSocket::operator=(UdpSocket&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    calls_ = other.calls_;
    interfaceFilter_ = other.interfaceFilter_;
    other.handle_ = -1;
  }
  return *this;
}

bool UdpSocket::valid() const { return handle_ != -1; }

void UdpSocket::Close() {
  if (valid()) calls_->Close(handle_);
  handle_ = -1;
}

UdpSocket UdpSocket::OpenSender() {
  UdpSocket sock(OpenDatagramSocket());
  if (!sock.valid()) return sock;
  const unsigned char loop = 0;
  SetOption(sock.handle_, IPPROTO_IP, IP_MULTICAST_LOOP, loop);
  return sock;
}

UdpSocket UdpSocket::OpenReceiver(const LocalInterface& local, ReceiverSteps* steps) {
  ReceiverSteps unasked;
  ReceiverSteps& report = steps ? *steps : unasked;
  report = {};
  UdpSocket sock(OpenDatagramSocket());
  if (!sock.valid()) {
    report.error = StepError("opening a socket");
    return sock;
  }
  report.opened = true;
  SetOption(sock.handle_, SOL_SOCKET, SO_REUSEADDR, int{1});
  // Many boxes answer a search at the same moment; room for all their replies at once.
  SetOption(sock.handle_, SOL_SOCKET, SO_RCVBUF, kReceiveBufferBytes);
  sock.interfaceFilter_ = ScopeReceiver(sock.handle_, local);
  // Failures leave the socket in place: it then simply never yields a reply.
  const sockaddr_in bound = ReceiverAddress(local);
  report.bound = bind(Native(sock.handle_), reinterpret_cast<const sockaddr*>(&bound), sizeof bound) == 0;
  if (!report.bound) report.error = StepError(("binding port " + std::to_string(DEVICE_PORT)).c_str());
  ip_mreq membership{};
  membership.imr_multiaddr = ParseAddress(DEVICE_GROUP);
  membership.imr_interface = ParseAddress(local.address);
  report.joined = SetOption(sock.handle_, IPPROTO_IP, IP_ADD_MEMBERSHIP, membership);
  if (!report.joined && report.error.empty()) report.error = StepError((std::string("joining group ") + DEVICE_GROUP).c_str());
  const unsigned char loop = 0;
  SetOption(sock.handle_, IPPROTO_IP, IP_MULTICAST_LOOP, loop);
  return sock;
}

void UdpSocket::SelectInterface(const std::string& address) {
  if (valid()) SetOption(handle_, IPPROTO_IP, IP_MULTICAST_IF, ParseAddress(address));
}

void UdpSocket::SendToGroup(Bytes data) {
  if (!valid()) return;
  const sockaddr_in group = GroupAddress();
  sendto(Native(handle_), reinterpret_cast<const char*>(data.data()), static_cast<int>(data.size()), 0,
         reinterpret_cast<const sockaddr*>(&group), sizeof group);
}

Received UdpSocket::Receive(std::int64_t timeoutMicros, PacketBuffer& buffer) {
  if (!valid()) return {};
  using Steady = std::chrono::steady_clock;
  const auto deadline = Steady::now() + std::chrono::microseconds(timeoutMicros);
  std::int64_t left = timeoutMicros;
  const UdpSocket* self[] = {this};
  while (WaitReadable(self, left)[0]) {
    if (const std::optional<int> length = ReadDatagram(*calls_, handle_, buffer, interfaceFilter_)) {
      return {true, *length};
    }
    // A datagram of another interface: not ours; keep waiting for the rest of the time.
    left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Steady::now()).count();
    if (left <= 0) break;
  }
  return {};
}

std::vector<bool> UdpSocket::WaitReadable(std::span<const UdpSocket* const> sockets, std::int64_t timeoutMicros) {
  std::vector<std::intptr_t> handles;
  SocketCalls* calls = &SystemSocketCalls();
  for (const UdpSocket* socket : sockets) {
    if (!socket->valid()) continue;
    handles.push_back(socket->handle_);
    calls = socket->calls_;
  }
  const std::vector<bool> marks = calls->WaitReadable(handles, std::max<std::int64_t>(timeoutMicros, 0));
  std::vector<bool> readable;
  std::size_t next = 0;
  for (const UdpSocket* socket : sockets) readable.push_back(socket->valid() && next < marks.size() && marks[next++]);
  return readable;
}

}  // namespace quorvel::net
