#include "local_address.h"

namespace quorvel::net {

int PrefixLengthOfNetmask(std::uint32_t netmask) {
  int bits = 0;
  while (bits < 32 && (netmask & (0x80000000u >> bits)) != 0) ++bits;
  return bits;
}

std::vector<std::optional<SkipReason>> ChooseAddresses(const std::vector<LocalAddress>& addresses,
                                                       std::size_t limit) {
  std::vector<std::optional<SkipReason>> choice;
  std::size_t used = 0;
  for (const LocalAddress& each : addresses) {
    if (each.loopback) {
      choice.emplace_back(SkipReason::Loopback);
    } else if (!each.up) {
      choice.emplace_back(SkipReason::Down);
    } else if (used == limit) {
      choice.emplace_back(SkipReason::BeyondLimit);
    } else {
      choice.emplace_back(std::nullopt);
      ++used;
    }
  }
  return choice;
}

}  // namespace quorvel::net
