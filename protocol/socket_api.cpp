#include "socket_api.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <limits>
#include <optional>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>
#else
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace quorvel::net {

namespace {

constexpr int kReceiveBufferBytes = 1 << 20;

#ifdef _WIN32
using NativeSocket = SOCKET;
NativeSocket Native(std::intptr_t handle) { return static_cast<SOCKET>(handle); }
void CloseNative(std::intptr_t handle) { closesocket(Native(handle)); }
using PollEntry = WSAPOLLFD;
int PollNative(std::vector<PollEntry>& entries, int millis) {
  return WSAPoll(entries.data(), static_cast<ULONG>(entries.size()), millis);
}
int LastError() { return WSAGetLastError(); }
bool AddressInUse(int code) { return code == WSAEADDRINUSE || code == WSAEACCES; }

std::string SystemText(int code) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result = length != 0 ? std::string(text, length) : std::string();
  LocalFree(text);
  return result;
}
#else
using NativeSocket = int;
NativeSocket Native(std::intptr_t handle) { return static_cast<int>(handle); }
void CloseNative(std::intptr_t handle) { ::close(Native(handle)); }
using PollEntry = pollfd;
int PollNative(std::vector<PollEntry>& entries, int millis) {
  return ::poll(entries.data(), static_cast<nfds_t>(entries.size()), millis);
}
int LastError() { return errno; }
bool AddressInUse(int code) { return code == EADDRINUSE; }
std::string SystemText(int code) { return std::strerror(code); }
#endif

// "step: the system's text (code)" for the error that the last call of the socket layer left.
std::string StepError(const char* step) {
  const int code = LastError();
  std::string text = SystemText(code);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.')) {
    text.pop_back();
  }
  return std::string(step) + ": " + (text.empty() ? "error" : text) + " (" + std::to_string(code) + ")";
}

std::intptr_t OpenDatagramSocket() { return static_cast<std::intptr_t>(socket(AF_INET, SOCK_DGRAM, 0)); }

template <typename T>
bool SetOption(std::intptr_t handle, int level, int name, const T& value) {
  return setsockopt(Native(handle), level, name, reinterpret_cast<const char*>(&value), sizeof value) == 0;
}

in_addr ParseAddress(const std::string& text) {
  in_addr address{};
  inet_pton(AF_INET, text.c_str(), &address);
  return address;
}

sockaddr_in GroupAddress() {
  sockaddr_in group{};
  group.sin_family = AF_INET;
  group.sin_port = htons(DEVICE_PORT);
  group.sin_addr = ParseAddress(DEVICE_GROUP);
  return group;
}

sockaddr_in AnyAddress() {
  sockaddr_in any{};
  any.sin_family = AF_INET;
  any.sin_port = htons(DEVICE_PORT);
  any.sin_addr.s_addr = htonl(INADDR_ANY);
  return any;
}

// Where the receive socket of an interface binds the port.
sockaddr_in ReceiverAddress(const LocalInterface& local) {
#ifdef _WIN32
  // Windows delivers the group's datagrams to a socket bound to the interface's own address.
  sockaddr_in bound = AnyAddress();
  bound.sin_addr = ParseAddress(local.address);
  return bound;
#else
  // Linux does not deliver multicast to a socket bound to a unicast address: bind to any address
  // (OpenReceiver keeps only this interface's datagrams).
  (void)local;
  return AnyAddress();
#endif
}

// A bind without SO_REUSEADDR fails while another socket holds the port at an overlapping address.
bool BindRefused(const sockaddr_in& address) {
  const std::intptr_t handle = OpenDatagramSocket();
  if (handle == -1) return false;
  const bool refused = bind(Native(handle), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 &&
                       AddressInUse(LastError());
  CloseNative(handle);
  return refused;
}

// Room for the ancillary data of one datagram (the arrival interface on Linux).
constexpr std::size_t kControlBytes = 64;

// A wait in whole milliseconds, rounded up so that a short wait is not a mere look.
int PollMillis(std::int64_t micros) {
  if (micros <= 0) return 0;
  return static_cast<int>(std::min<std::int64_t>((micros + 999) / 1000, std::numeric_limits<int>::max()));
}

#ifdef _WIN32

// recvfrom; a datagram longer than the buffer is reported as longer than the buffer.
long ReadNative(std::intptr_t handle, std::span<std::byte> data, std::span<std::byte>, std::size_t& controlLength) {
  controlLength = 0;
  sockaddr_in from{};
  int fromLength = sizeof from;
  const int n = recvfrom(Native(handle), reinterpret_cast<char*>(data.data()), static_cast<int>(data.size()), 0,
                         reinterpret_cast<sockaddr*>(&from), &fromLength);
  if (n < 0 && WSAGetLastError() == WSAEMSGSIZE) return static_cast<long>(data.size()) + 1;
  return n;
}

// Windows scopes a receive socket by its bound address; it reports no arrival interface.
unsigned ArrivalInterface(std::span<std::byte>, std::size_t) { return 0; }

#else

// recvmsg with MSG_TRUNC, which gives the real length of a datagram that did not fit.
long ReadNative(std::intptr_t handle, std::span<std::byte> data, std::span<std::byte> control,
                std::size_t& controlLength) {
  sockaddr_in from{};
  iovec part{data.data(), data.size()};
  msghdr message{};
  message.msg_name = &from;
  message.msg_namelen = sizeof from;
  message.msg_iov = &part;
  message.msg_iovlen = 1;
  message.msg_control = control.data();
  message.msg_controllen = control.size();
  const ssize_t n = recvmsg(Native(handle), &message, MSG_TRUNC);
  controlLength = n < 0 ? 0 : message.msg_controllen;
  return static_cast<long>(n);
}

// The system index of the interface that the datagram arrived on, from its IP_PKTINFO; 0 if none.
unsigned ArrivalInterface(std::span<std::byte> control, std::size_t controlLength) {
  msghdr message{};
  message.msg_control = control.data();
  message.msg_controllen = controlLength;
  unsigned arrivedOn = 0;
  for (cmsghdr* c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
    if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
      in_pktinfo info{};
      std::memcpy(&info, CMSG_DATA(c), sizeof info);
      arrivedOn = static_cast<unsigned>(info.ipi_ifindex);
    }
  }
  return arrivedOn;
}

#endif

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
    if (PollNative(entries, PollMillis(timeoutMicros)) <= 0) return readable;
    for (std::size_t i = 0; i < handles.size(); ++i) {
      readable[i] = (entries[i].revents & (POLLIN | POLLERR | POLLHUP)) != 0;
    }
    return readable;
  }

  long ReadMessage(std::intptr_t handle, std::span<std::byte> data, std::span<std::byte> control,
                   std::size_t& controlLength) override {
    return ReadNative(handle, data, control, controlLength);
  }

  void Close(std::intptr_t handle) override { CloseNative(handle); }
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
#ifdef _WIN32
  WSADATA data{};
  started_ = WSAStartup(MAKEWORD(2, 0), &data) == 0;
#else
  started_ = true;
#endif
  return started_;
}

void SocketLibrary::Stop() {
#ifdef _WIN32
  if (started_) WSACleanup();
#endif
  started_ = false;
}

// ---- interface list -------------------------------------------------------------------------

#ifdef _WIN32

namespace {

std::string Utf8(const wchar_t* wide) {
  if (!wide) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
  text.pop_back();  // the terminator
  return text;
}

}  // namespace

std::vector<LocalAddress> ListLocalAddresses() {
  std::vector<LocalAddress> result;
  ULONG size = 16 * 1024;
  std::vector<unsigned char> storage;
  ULONG status = ERROR_BUFFER_OVERFLOW;
  for (int attempt = 0; attempt < 3 && status == ERROR_BUFFER_OVERFLOW; ++attempt) {
    storage.resize(size);
    status = GetAdaptersAddresses(
        AF_INET, GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER, nullptr,
        reinterpret_cast<IP_ADAPTER_ADDRESSES*>(storage.data()), &size);
  }
  if (status != NO_ERROR) return result;
  for (auto* adapter = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(storage.data()); adapter;
       adapter = adapter->Next) {
    for (auto* unicast = adapter->FirstUnicastAddress; unicast; unicast = unicast->Next) {
      const auto* in = reinterpret_cast<const sockaddr_in*>(unicast->Address.lpSockaddr);
      if (in->sin_family != AF_INET) continue;
      char text[INET_ADDRSTRLEN] = {};
      inet_ntop(AF_INET, &in->sin_addr, text, sizeof text);
      result.push_back({Utf8(adapter->FriendlyName), text, adapter->IfIndex, adapter->OperStatus == IfOperStatusUp,
                        adapter->IfType == IF_TYPE_SOFTWARE_LOOPBACK, unicast->OnLinkPrefixLength});
    }
  }
  return result;
}

#else

std::vector<LocalAddress> ListLocalAddresses() {
  std::vector<LocalAddress> result;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return result;
  for (ifaddrs* entry = list; entry; entry = entry->ifa_next) {
    if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET) continue;
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr, text, sizeof text);
    const auto* mask = reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask);
    const int prefix = mask ? PrefixLengthOfNetmask(ntohl(mask->sin_addr.s_addr)) : 0;
    result.push_back({entry->ifa_name, text, if_nametoindex(entry->ifa_name), (entry->ifa_flags & IFF_UP) != 0,
                      (entry->ifa_flags & IFF_LOOPBACK) != 0, prefix});
  }
  freeifaddrs(list);
  return result;
}

#endif

std::vector<LocalInterface> ListLocalInterfaces(std::size_t limit) {
  const std::vector<LocalAddress> addresses = ListLocalAddresses();
  const std::vector<std::optional<SkipReason>> choice = ChooseAddresses(addresses, limit);
  std::vector<LocalInterface> result;
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    if (!choice[i]) result.push_back({addresses[i].address, addresses[i].systemIndex, addresses[i].prefixLength});
  }
  return result;
}

bool PortHeldElsewhere(const LocalInterface& local) {
  if (BindRefused(ReceiverAddress(local))) return true;
#ifdef _WIN32
  // Windows lets a bind to the interface's own address pass beside another program's socket
  // bound to any address; ask for that one too.
  return BindRefused(AnyAddress());
#else
  return false;
#endif
}

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
#ifndef _WIN32
  // Bound to any address: take only the groups joined here, and keep the datagrams that arrive
  // on this interface.
  SetOption(sock.handle_, IPPROTO_IP, IP_MULTICAST_ALL, int{0});
  SetOption(sock.handle_, IPPROTO_IP, IP_PKTINFO, int{1});
  sock.interfaceFilter_ = local.systemIndex;
#endif
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
