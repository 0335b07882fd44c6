// Texts kept in the registry: one string value of one key, read through a buffer of fixed size.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace quorvel {

inline constexpr std::size_t kRegistryTextBytes = 120;
inline constexpr std::size_t kRegistryTextMaxChars = kRegistryTextBytes - 1;  // the terminator must fit too

// The text of the named value (an empty name is the key's default value) of the key path under the
// root, up to its first NUL. Empty when the key cannot be opened, the value cannot be read, or its text
// does not fit the buffer with its terminator. The key is opened for queries only and always closed.
std::string ReadRegistryText(platform::Registry& registry, platform::RegistryRoot root, std::string_view keyPath,
                             std::string_view valueName);

}  // namespace quorvel
