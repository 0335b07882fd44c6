// The local IPv4 addresses as the system lists them, and which of them the transport uses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::net {

// One IPv4 address from the system's interface list, with the state of the interface that carries it.
struct LocalAddress {
  std::string name;          // the interface's name as the system shows it
  std::string address;       // dotted IPv4 text
  unsigned systemIndex = 0;  // the system's index of the interface
  bool up = false;
  bool loopback = false;
  int prefixLength = 0;  // leading one bits of the address's on-link netmask; 0 when not known
};

// The leading one bits of a netmask given in host byte order (255.255.255.0: 24). A mask whose ones are
// not contiguous counts only its leading ones.
int PrefixLengthOfNetmask(std::uint32_t netmask);

enum class SkipReason { Down, Loopback, BeyondLimit };

// Why the transport leaves each address out, or nothing for an address it uses: it uses the first
// `limit` addresses that are up and not loopback, in the system's order.
std::vector<std::optional<SkipReason>> ChooseAddresses(const std::vector<LocalAddress>& addresses,
                                                       std::size_t limit);

}  // namespace quorvel::net
