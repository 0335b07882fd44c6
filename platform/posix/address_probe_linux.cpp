#include "platform/posix/address_probe_linux.h"

#include "platform/system_address_probe.h"
#include "protocol/socket_api.h"

#include <arpa/inet.h>
#include <linux/if_packet.h>
#include <linux/neighbour.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/ethernet.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>
#include <vector>

namespace quorvel::platform {

namespace {

using Steady = std::chrono::steady_clock;

constexpr std::uint16_t kDiscardPort = 9;
constexpr std::chrono::milliseconds kTablePoll{20};

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

 private:
  int fd_;
};

bool ToSocketAddress(const std::string& text, std::uint16_t port, sockaddr_in& out) {
  out = {};
  out.sin_family = AF_INET;
  out.sin_port = htons(port);
  return inet_pton(AF_INET, text.c_str(), &out.sin_addr) == 1;
}

// One datagram from the PC's address: to send it, the kernel first resolves the address on the link
// (a new entry is asked about at once; a stale one only after a pause of seconds).
bool SendNudge(const sockaddr_in& local, const std::string& address) {
  sockaddr_in target{};
  if (!ToSocketAddress(address, kDiscardPort, target)) return false;
  const Descriptor sock(socket(AF_INET, SOCK_DGRAM, 0));
  if (!sock.valid()) return false;
  if (bind(sock.get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) return false;
  const char nudge = 0;
  return sendto(sock.get(), &nudge, 1, 0, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 1;
}

// The system index of the device that carries the PC's address; 0 when none does.
int DeviceOfAddress(const std::string& localAddress) {
  for (const net::LocalAddress& each : net::ListLocalAddresses()) {
    if (each.address == localAddress) return static_cast<int>(each.systemIndex);
  }
  return 0;
}

// The kernel's neighbour entry for the address on the device, through a netlink dump; nothing when
// the table cannot be read.
std::optional<NeighbourState> ReadNeighbour(std::uint32_t address, int deviceIndex) {
  const Descriptor sock(socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE));
  if (!sock.valid()) return std::nullopt;
  struct {
    nlmsghdr header;
    ndmsg body;
  } request{};
  request.header.nlmsg_len = sizeof request;
  request.header.nlmsg_type = RTM_GETNEIGH;
  request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
  request.header.nlmsg_seq = 1;
  request.body.ndm_family = AF_INET;
  if (send(sock.get(), &request, sizeof request, 0) != static_cast<ssize_t>(sizeof request)) return std::nullopt;
  NeighbourState found = NeighbourState::Absent;
  std::vector<std::byte> buffer(32 * 1024);
  for (;;) {
    const ssize_t n = recv(sock.get(), buffer.data(), buffer.size(), 0);
    if (n <= 0) return std::nullopt;
    const std::span<const std::byte> part(buffer.data(), static_cast<std::size_t>(n));
    const NeighbourState here = NeighbourStateInDump(part, address, deviceIndex);
    if (here != NeighbourState::Absent) found = here;
    // The dump ends with NLMSG_DONE (or an error) as the last message of a part.
    for (std::size_t at = 0; at + sizeof(nlmsghdr) <= part.size();) {
      nlmsghdr header{};
      std::memcpy(&header, part.data() + at, sizeof header);
      if (header.nlmsg_type == NLMSG_DONE) return found;
      if (header.nlmsg_type == NLMSG_ERROR) return std::nullopt;
      if (header.nlmsg_len < sizeof(nlmsghdr) || header.nlmsg_len > part.size() - at) return std::nullopt;
      at += NLMSG_ALIGN(header.nlmsg_len);
    }
  }
}

// An ARP request of this program's own on one Ethernet device, and the replies to it: asks the link
// afresh whatever the kernel's table holds. Needs CAP_NET_RAW; without it the asker is not valid.
class ArpAsker {
 public:
  ArpAsker(int deviceIndex, std::uint32_t source, std::uint32_t target)
      : sock_(socket(AF_PACKET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, htons(ETH_P_ARP))),
        deviceIndex_(deviceIndex),
        source_(source),
        target_(target) {}

  // Sends the request; false when it cannot be sent here.
  bool Ask() {
    std::array<unsigned char, 6> own{};
    if (!sock_.valid() || !OwnHardwareAddress(own)) return false;
    sockaddr_ll to{};
    to.sll_family = AF_PACKET;
    to.sll_protocol = htons(ETH_P_ARP);
    to.sll_ifindex = deviceIndex_;
    to.sll_halen = 6;
    std::memset(to.sll_addr, 0xFF, 6);
    std::array<unsigned char, 28> packet{};
    const arphdr header{htons(ARPHRD_ETHER), htons(ETH_P_IP), 6, 4, htons(ARPOP_REQUEST)};
    std::memcpy(packet.data(), &header, sizeof header);
    std::memcpy(packet.data() + 8, own.data(), 6);
    std::memcpy(packet.data() + 14, &source_, 4);
    std::memcpy(packet.data() + 24, &target_, 4);
    return sendto(sock_.get(), packet.data(), packet.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) ==
           static_cast<ssize_t>(packet.size());
  }

  // Whether a reply from the target has come in on the device.
  bool Answered() {
    std::array<unsigned char, 64> packet{};
    sockaddr_ll from{};
    socklen_t fromLength = sizeof from;
    for (;;) {
      const ssize_t n =
          recvfrom(sock_.get(), packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
      if (n < 0) return false;
      arphdr header{};
      if (n < 28 || from.sll_ifindex != deviceIndex_) continue;
      std::memcpy(&header, packet.data(), sizeof header);
      std::uint32_t sender = 0;
      std::memcpy(&sender, packet.data() + 14, 4);
      if (ntohs(header.ar_op) == ARPOP_REPLY && sender == target_) return true;
    }
  }

 private:
  bool OwnHardwareAddress(std::array<unsigned char, 6>& out) const {
    ifreq request{};
    if (!if_indextoname(static_cast<unsigned>(deviceIndex_), request.ifr_name)) return false;
    if (ioctl(sock_.get(), SIOCGIFHWADDR, &request) != 0 || request.ifr_hwaddr.sa_family != ARPHRD_ETHER) return false;
    std::memcpy(out.data(), request.ifr_hwaddr.sa_data, 6);
    return true;
  }

  Descriptor sock_;
  int deviceIndex_;
  std::uint32_t source_;
  std::uint32_t target_;
};

}  // namespace

NeighbourState NeighbourStateInDump(std::span<const std::byte> messages, std::uint32_t address, int deviceIndex) {
  NeighbourState found = NeighbourState::Absent;
  for (std::size_t at = 0; at + sizeof(nlmsghdr) <= messages.size();) {
    nlmsghdr header{};
    std::memcpy(&header, messages.data() + at, sizeof header);
    if (header.nlmsg_len < sizeof(nlmsghdr) || header.nlmsg_len > messages.size() - at) break;
    const std::size_t end = at + header.nlmsg_len;
    if (header.nlmsg_type == RTM_NEWNEIGH && header.nlmsg_len >= NLMSG_LENGTH(sizeof(ndmsg))) {
      ndmsg entry{};
      std::memcpy(&entry, messages.data() + at + NLMSG_HDRLEN, sizeof entry);
      bool ours = false;
      for (std::size_t a = at + NLMSG_LENGTH(NLMSG_ALIGN(sizeof(ndmsg))); a + sizeof(rtattr) <= end;) {
        rtattr attribute{};
        std::memcpy(&attribute, messages.data() + a, sizeof attribute);
        if (attribute.rta_len < sizeof(rtattr) || attribute.rta_len > end - a) break;
        if (attribute.rta_type == NDA_DST && attribute.rta_len == RTA_LENGTH(4)) {
          std::uint32_t destination = 0;
          std::memcpy(&destination, messages.data() + a + RTA_LENGTH(0), 4);
          ours = destination == address;
        }
        a += RTA_ALIGN(attribute.rta_len);
      }
      if (ours && entry.ndm_family == AF_INET && entry.ndm_ifindex == deviceIndex) {
        found = LinuxNeighbourState(entry.ndm_state);
      }
    }
    at += NLMSG_ALIGN(header.nlmsg_len);
  }
  return found;
}

// The nudge makes the kernel ask the link for an address it does not know. An entry that it knows
// from before (Stale) is not asked about for seconds: this program asks the link itself then, where
// it may send ARP; where it may not, such an entry at the deadline cannot be told.
ProbeAnswer LinuxAddressProbe::Probe(const std::string& address, const std::string& localAddress, int timeoutMillis) {
  const auto deadline = Steady::now() + std::chrono::milliseconds(timeoutMillis);
  sockaddr_in local{};
  sockaddr_in target{};
  if (!ToSocketAddress(localAddress, 0, local) || !ToSocketAddress(address, 0, target)) return ProbeAnswer::CannotProbe;
  const int device = DeviceOfAddress(localAddress);
  if (device == 0 || !SendNudge(local, address)) return ProbeAnswer::CannotProbe;
  std::optional<ArpAsker> asker;
  bool askedAfresh = false;
  for (;;) {
    const bool atDeadline = Steady::now() + kTablePoll >= deadline;
    const std::optional<NeighbourState> state = ReadNeighbour(target.sin_addr.s_addr, device);
    if (!state) return ProbeAnswer::CannotProbe;
    if (askedAfresh && asker->Answered()) return ProbeAnswer::Answered;
    if (!asker && NeedsFreshAsk(*state)) {
      asker.emplace(device, local.sin_addr.s_addr, target.sin_addr.s_addr);
      askedAfresh = asker->Ask();
    }
    if (const std::optional<ProbeAnswer> answer = AnswerOfNeighbour(*state, atDeadline, askedAfresh)) return *answer;
    std::this_thread::sleep_for(kTablePoll);
  }
}

AddressProbe& SystemAddressProbe() {
  static LinuxAddressProbe probe;
  return probe;
}

}  // namespace quorvel::platform
