// The address probe on Linux (quorvel-cli): a datagram makes the kernel ask the link for the address,
// and the neighbour table tells whether a device answered (see platform/address_probe.h).
#pragma once

#include <string>
#include <string_view>

#include "platform/address_probe.h"

namespace quorvel::platform {

class LinuxAddressProbe final : public AddressProbe {
 public:
  ProbeAnswer Probe(const std::string& address, const std::string& localAddress, int timeoutMillis) override;
};

// Whether the kernel's neighbour table (the text of /proc/net/arp) holds a complete entry, one with a
// hardware address that a device gave, for the address.
bool NeighbourAnswered(std::string_view table, std::string_view address);

}  // namespace quorvel::platform
