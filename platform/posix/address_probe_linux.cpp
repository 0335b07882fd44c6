#include "platform/posix/address_probe_linux.h"

#include "platform/system_address_probe.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace quorvel::platform {

namespace {

constexpr unsigned kCompleteFlag = 0x2;  // ATF_COM: the entry holds the device's hardware address
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

 private:
  int fd_;
};

bool ToSocketAddress(const std::string& text, std::uint16_t port, sockaddr_in& out) {
  out = {};
  out.sin_family = AF_INET;
  out.sin_port = htons(port);
  return inet_pton(AF_INET, text.c_str(), &out.sin_addr) == 1;
}

// One datagram from the PC's address: to send it, the kernel first resolves the address on the link.
bool SendNudge(const std::string& address, const std::string& localAddress) {
  sockaddr_in local{};
  sockaddr_in target{};
  if (!ToSocketAddress(localAddress, 0, local) || !ToSocketAddress(address, kDiscardPort, target)) return false;
  const Descriptor sock(socket(AF_INET, SOCK_DGRAM, 0));
  if (sock.get() < 0) return false;
  if (bind(sock.get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) return false;
  const char nudge = 0;
  return sendto(sock.get(), &nudge, 1, 0, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 1;
}

}  // namespace

bool NeighbourAnswered(std::string_view table, std::string_view address) {
  std::istringstream lines{std::string(table)};
  std::string line;
  std::getline(lines, line);  // the column titles
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string ip;
    std::string type;
    std::string flags;
    if (!(fields >> ip >> type >> flags) || ip != address) continue;
    if (std::strtoul(flags.c_str(), nullptr, 16) & kCompleteFlag) return true;
  }
  return false;
}

// A device that answers does so within milliseconds; the kernel's own retries take a second each, so
// an entry still incomplete at the deadline is a silent address. An entry that was complete before
// (a device that has left within the last minutes) still reads as answered.
ProbeAnswer LinuxAddressProbe::Probe(const std::string& address, const std::string& localAddress, int timeoutMillis) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMillis);
  if (!SendNudge(address, localAddress)) return ProbeAnswer::CannotProbe;
  do {
    std::ifstream file("/proc/net/arp");
    if (!file) return ProbeAnswer::CannotProbe;
    std::ostringstream table;
    table << file.rdbuf();
    if (NeighbourAnswered(table.str(), address)) return ProbeAnswer::Answered;
    std::this_thread::sleep_for(kTablePoll);
  } while (std::chrono::steady_clock::now() + kTablePoll < deadline);
  return ProbeAnswer::Silent;
}

AddressProbe& SystemAddressProbe() {
  static LinuxAddressProbe probe;
  return probe;
}

}  // namespace quorvel::platform
