// Whether a device already answers at an IPv4 address of the PC's own network.
//
// Which method runs where:
//   - Windows: ARP (SendARP) from the PC's address, so on the link of that address. Where the system
//     offers no ARP request (Wine answers ERROR_NOT_SUPPORTED) an ICMP echo (IcmpSendEcho) instead.
//   - Linux (quorvel-cli): a datagram from the PC's address to the address makes the kernel ask the
//     link for it (ARP); the kernel's neighbour table then tells whether a device answered.
// ARP is answered by every device that holds an address. An echo is not: a host that ignores echoes
// (a firewall's default on many desktops) looks free to the echo.
#pragma once

#include <string>

namespace quorvel::platform {

enum class ProbeAnswer {
  Answered,     // a device answers at the address
  Silent,       // nothing answered in time
  CannotProbe,  // the probe could not be made, or it did not end in time
};

class AddressProbe {
 public:
  virtual ~AddressProbe() = default;
  // Asks whether a device answers at `address` (dotted text) on the link of the PC's `localAddress`,
  // and returns within about timeoutMillis.
  virtual ProbeAnswer Probe(const std::string& address, const std::string& localAddress, int timeoutMillis) = 0;
};

}  // namespace quorvel::platform
