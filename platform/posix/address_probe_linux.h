// The address probe on Linux (quorvel-cli): a datagram makes the kernel ask the link for the address,
// and the kernel's neighbour table, read through netlink, tells whether a device answered; an old
// entry is asked about afresh with an ARP request where the process may send one (see
// platform/address_probe.h and platform/neighbour_state.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/address_probe.h"
#include "platform/neighbour_state.h"

namespace quorvel::platform {

class LinuxAddressProbe final : public AddressProbe {
 public:
  ProbeAnswer Probe(const std::string& address, const std::string& localAddress, int timeoutMillis) override;
};

// The state of the entry for `address` (network byte order) on the device `deviceIndex` in the
// messages of a netlink neighbour dump; Absent when none is there.
NeighbourState NeighbourStateInDump(std::span<const std::byte> messages, std::uint32_t address, int deviceIndex);

}  // namespace quorvel::platform
