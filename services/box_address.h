// The box's address as the hidden services put it into UNC paths and command lines.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// The only way to make one is Checked, which takes a plain dotted IPv4 address (IsDottedIpv4Address, the
// check that Connect, Configuration and the widget apply) and nothing else; so no other text from a box
// reaches the services' paths and command lines.
class ServiceAddress {
 public:
  static std::optional<ServiceAddress> Checked(std::string_view text);
  const std::string& text() const { return text_; }

 private:
  explicit ServiceAddress(std::string_view text) : text_(text) {}
  std::string text_;
};

}  // namespace quorvel
