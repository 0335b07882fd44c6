// The registry as the console reads it: a key opened for reading, one value read into a buffer, the
// key closed again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace quorvel::platform {

// The root keys that the console reads under.
enum class RegistryRoot { LocalMachine };

// Access rights of an opened key (the Windows values). The console only ever queries values.
inline constexpr unsigned kKeyQueryValue = 0x0001;

// An opened key; meaningful only to the Registry that handed it out, until it is closed.
using RegistryKeyHandle = std::uintptr_t;

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens the key path under the root with the access rights (RegOpenKeyExA); nothing when it cannot
  // be opened. Every key handed out must be closed with CloseKey.
  virtual std::optional<RegistryKeyHandle> OpenKey(RegistryRoot root, std::string_view path, unsigned access) = 0;
  // Copies the data of the key's value (an empty name is the key's default value) into the buffer
  // (RegQueryValueExA) and says how many bytes it holds; nothing when the value is missing or cannot be
  // read, or when its data is larger than the buffer.
  virtual std::optional<std::size_t> QueryValue(RegistryKeyHandle key, std::string_view valueName,
                                                std::span<char> buffer) = 0;
  // Closes an opened key (RegCloseKey).
  virtual void CloseKey(RegistryKeyHandle key) = 0;
};

}  // namespace quorvel::platform
