#include "services/service_address.h"

#include "services/browser_command.h"

namespace quorvel {

std::optional<ServiceAddress> ServiceAddress::Checked(std::string_view text) {
  if (!IsDottedIpv4Address(text)) return std::nullopt;
  return ServiceAddress(text);
}

}  // namespace quorvel
