// The socket layer's Linux side: BSD sockets, the interface list from getifaddrs, and receive
// sockets bound to any address that keep their interface's datagrams by IP_PKTINFO.
#include <ifaddrs.h>
#include <net/if.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "socket_native.h"

namespace quorvel::net {

namespace native {

bool StartLibrary() { return true; }
void StopLibrary() {}
void CloseSocket(std::intptr_t handle) { ::close(Native(handle)); }
int Poll(std::vector<PollEntry>& entries, int millis) {
  return ::poll(entries.data(), static_cast<nfds_t>(entries.size()), millis);
}
int LastError() { return errno; }
bool AddressInUse(int code) { return code == EADDRINUSE; }
std::string SystemText(int code) { return std::strerror(code); }

// Linux does not deliver multicast to a socket bound to a unicast address: bind to any address
// (ScopeReceiver keeps only this interface's datagrams).
sockaddr_in ReceiverAddress(const LocalInterface&) { return AnyAddress(); }

// Bound to any address: take only the groups joined here, and keep the datagrams that arrive on
// this interface.
unsigned ScopeReceiver(std::intptr_t handle, const LocalInterface& local) {
  SetOption(handle, IPPROTO_IP, IP_MULTICAST_ALL, int{0});
  SetOption(handle, IPPROTO_IP, IP_PKTINFO, int{1});
  return local.systemIndex;
}

bool PortHeldElsewhere(const LocalInterface& local) { return BindRefused(ReceiverAddress(local)); }

// recvmsg with MSG_TRUNC, which gives the real length of a datagram that did not fit.
long ReadMessage(std::intptr_t handle, std::span<std::byte> data, std::span<std::byte> control,
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

}  // namespace native

namespace {

// The system index of the device that carries an address. An alias address is listed under its
// label ("eth0:1"), which is no device of its own: the index is the device's, the part before the
// colon, so that the alias's receive socket keeps the datagrams of that device and its addresses
// group with the device's other ones.
unsigned DeviceIndex(const char* label) {
  std::string device(label);
  device = device.substr(0, device.find(':'));
  return if_nametoindex(device.c_str());
}

}  // namespace

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
    result.push_back({entry->ifa_name, text, DeviceIndex(entry->ifa_name), (entry->ifa_flags & IFF_UP) != 0,
                      (entry->ifa_flags & IFF_LOOPBACK) != 0, prefix});
  }
  freeifaddrs(list);
  return result;
}

}  // namespace quorvel::net
