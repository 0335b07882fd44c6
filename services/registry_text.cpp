#include "services/registry_text.h"

#include <array>
#include <optional>

namespace quorvel {

namespace {

// A key opened for queries, closed when it goes.
class OpenedKey {
 public:
  OpenedKey(platform::Registry& registry, platform::RegistryRoot root, std::string_view path)
      : registry_(registry), key_(registry.OpenKey(root, path, platform::kKeyQueryValue)) {}
  ~OpenedKey() {
    if (key_) registry_.CloseKey(*key_);
  }
  OpenedKey(const OpenedKey&) = delete;
  OpenedKey& operator=(const OpenedKey&) = delete;

  bool isOpen() const { return key_.has_value(); }
  platform::RegistryKeyHandle handle() const { return *key_; }

 private:
  platform::Registry& registry_;
  std::optional<platform::RegistryKeyHandle> key_;
};

}  // namespace

std::string ReadRegistryText(platform::Registry& registry, platform::RegistryRoot root, std::string_view keyPath,
                             std::string_view valueName) {
  const OpenedKey key(registry, root, keyPath);
  if (!key.isOpen()) return {};
  std::array<char, kRegistryTextBytes> buffer{};
  const std::optional<std::size_t> bytes = registry.QueryValue(key.handle(), valueName, buffer);
  if (!bytes || *bytes > buffer.size()) return {};
  const std::string_view data(buffer.data(), *bytes);
  const std::size_t end = data.find('\0');
  if (end != std::string_view::npos) return std::string(data.substr(0, end));
  // Stored without its NUL: the text still fits when the terminator has room after it.
  if (data.size() <= kRegistryTextMaxChars) return std::string(data);
  return {};
}

}  // namespace quorvel
