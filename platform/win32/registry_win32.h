// The registry seam over the real system: RegOpenKeyExA, RegQueryValueExA and RegCloseKey.
#pragma once

#include "platform/registry.h"

namespace quorvel::platform {

class Win32Registry final : public Registry {
 public:
  std::optional<RegistryKeyHandle> OpenKey(RegistryRoot root, std::string_view path, unsigned access) override;
  std::optional<std::size_t> QueryValue(RegistryKeyHandle key, std::string_view valueName,
                                        std::span<char> buffer) override;
  void CloseKey(RegistryKeyHandle key) override;
};

}  // namespace quorvel::platform
