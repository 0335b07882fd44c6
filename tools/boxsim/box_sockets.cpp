#include "box_sockets.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

namespace quorvel::boxsim {

namespace {

constexpr std::size_t kMaxLocalInterfaces = 256;

template <typename T>
bool SetOption(const FileDescriptor& fd, int level, int name, const T& value, const char* what,
               std::string& error) {
  if (setsockopt(fd.get(), level, name, &value, sizeof value) == 0) return true;
  error = std::string(what) + ": " + std::strerror(errno);
  return false;
}

bool Bind(const FileDescriptor& fd, in_addr address, std::uint16_t port, std::string& error) {
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(port);
  local.sin_addr = address;
  if (bind(fd.get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0) return true;
  error = std::string("bind: ") + std::strerror(errno);
  return false;
}

in_addr AddressOf(const std::string& text) {
  in_addr address{};
  inet_pton(AF_INET, text.c_str(), &address);
  return address;
}

FileDescriptor NewUdpSocket(std::string& error) {
  FileDescriptor fd(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  if (!fd.valid()) error = std::string("socket: ") + std::strerror(errno);
  return fd;
}

std::string DottedText(const sockaddr_in& address) {
  char text[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
  return text;
}

// The index of the interface the datagram arrived on, from its IP_PKTINFO.
unsigned ArrivalIndex(msghdr& message) {
  for (cmsghdr* c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
    if (c->cmsg_level != IPPROTO_IP || c->cmsg_type != IP_PKTINFO) continue;
    in_pktinfo info{};
    std::memcpy(&info, CMSG_DATA(c), sizeof info);
    return static_cast<unsigned>(info.ipi_ifindex);
  }
  return 0;
}

}  // namespace

std::optional<GroupReceiver> GroupReceiver::Open(const net::LocalInterface& local, std::string& error) {
  FileDescriptor fd = NewUdpSocket(error);
  if (!fd.valid()) return std::nullopt;
  ip_mreq membership{};
  membership.imr_multiaddr = AddressOf(DEVICE_GROUP);
  membership.imr_interface = AddressOf(local.address);
  const bool ready = SetOption(fd, SOL_SOCKET, SO_REUSEADDR, int{1}, "SO_REUSEADDR", error) &&
                     SetOption(fd, IPPROTO_IP, IP_MULTICAST_ALL, int{0}, "IP_MULTICAST_ALL", error) &&
                     SetOption(fd, IPPROTO_IP, IP_PKTINFO, int{1}, "IP_PKTINFO", error) &&
                     SetOption(fd, IPPROTO_IP, IP_MULTICAST_LOOP, static_cast<unsigned char>(0),
                               "IP_MULTICAST_LOOP", error) &&
                     Bind(fd, in_addr{htonl(INADDR_ANY)}, DEVICE_PORT, error) &&
                     SetOption(fd, IPPROTO_IP, IP_ADD_MEMBERSHIP, membership, "IP_ADD_MEMBERSHIP", error);
  if (!ready) return std::nullopt;
  return GroupReceiver(std::move(fd), local.systemIndex);
}

std::optional<Arrival> GroupReceiver::ReadOne(std::span<std::byte> buffer) {
  for (;;) {
    sockaddr_in from{};
    iovec part{buffer.data(), buffer.size()};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
    msghdr message{};
    message.msg_name = &from;
    message.msg_namelen = sizeof from;
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t n = recvmsg(fd_.get(), &message, MSG_DONTWAIT);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (ArrivalIndex(message) != systemIndex_) continue;  // another interface's datagram
    return Arrival{static_cast<std::size_t>(n), DottedText(from)};
  }
}

std::optional<GroupSender> GroupSender::Open(const net::LocalInterface& local, std::string& error) {
  FileDescriptor fd = NewUdpSocket(error);
  if (!fd.valid()) return std::nullopt;
  const in_addr own = AddressOf(local.address);
  const bool ready =
      SetOption(fd, IPPROTO_IP, IP_MULTICAST_IF, own, "IP_MULTICAST_IF", error) &&
      SetOption(fd, IPPROTO_IP, IP_MULTICAST_TTL, static_cast<unsigned char>(1), "IP_MULTICAST_TTL", error) &&
      SetOption(fd, IPPROTO_IP, IP_MULTICAST_LOOP, static_cast<unsigned char>(0), "IP_MULTICAST_LOOP", error) &&
      Bind(fd, own, 0, error);
  if (!ready) return std::nullopt;
  return GroupSender(std::move(fd));
}

bool GroupSender::Send(Bytes datagram) {
  sockaddr_in group{};
  group.sin_family = AF_INET;
  group.sin_port = htons(DEVICE_PORT);
  group.sin_addr = AddressOf(DEVICE_GROUP);
  ssize_t n = -1;
  do {
    n = sendto(fd_.get(), datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&group),
               sizeof group);
  } while (n < 0 && errno == EINTR);
  return n == static_cast<ssize_t>(datagram.size());
}

std::optional<net::LocalInterface> FindLocalInterface(const std::string& address) {
  for (const net::LocalInterface& local : net::ListLocalInterfaces(kMaxLocalInterfaces)) {
    if (local.address == address) return local;
  }
  return std::nullopt;
}

}  // namespace quorvel::boxsim
