// Whether a device already answers at an IPv4 address of the PC's own network.
//
// Which method runs where:
//   - Windows: ResolveIpNetEntry2 asks the link for the address from the PC's interface, whatever the
//     neighbour table holds, and the table is read until the deadline. Where iphlpapi lacks the
//     neighbour-table calls (Wine), SendARP; where the system offers no ARP request at all (Wine
//     answers ERROR_NOT_SUPPORTED) an ICMP echo (IcmpSendEcho) instead.
//   - Linux (quorvel-cli): a datagram from the PC's address to the address makes the kernel ask the
//     link for an address it does not know; the neighbour table, read through netlink, tells whether a
//     device answered. An entry known from before is asked about afresh with an ARP request of our own
//     where the process may send one (CAP_NET_RAW); where it may not, such an entry cannot be told.
// A table entry alone is no answer: it outlives the device that made it (see neighbour_state.h).
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
