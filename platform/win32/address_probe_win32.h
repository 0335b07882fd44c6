// The address probe over the real system: ARP, or an ICMP echo where ARP is not offered (see
// platform/address_probe.h for which runs where).
#pragma once

#include "platform/address_probe.h"

namespace quorvel::platform {

class Win32AddressProbe final : public AddressProbe {
 public:
  ProbeAnswer Probe(const std::string& address, const std::string& localAddress, int timeoutMillis) override;
};

}  // namespace quorvel::platform
