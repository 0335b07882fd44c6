#include "services/box_address.h"

#include "services/browser_command.h"

namespace quorvel {

std::optional<BoxAddress> BoxAddress::Checked(std::string_view text) {
  if (!IsDottedIpv4Address(text)) return std::nullopt;
  return BoxAddress(text);
}

}  // namespace quorvel
