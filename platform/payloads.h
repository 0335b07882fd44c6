// The payload files that the program carries in itself (resources of its own module, by type and number).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvel::platform {

class Payloads {
 public:
  virtual ~Payloads() = default;
  // The payload's bytes; nothing when the module has no such resource or it cannot be read.
  virtual std::optional<std::string> Read(std::string_view type, int id) = 0;
};

}  // namespace quorvel::platform
