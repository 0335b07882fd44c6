#include "platform/fake/fake_registry.h"

#include <algorithm>

namespace quorvel::platform {

void FakeRegistry::SetValue(const std::string& path, const std::string& valueName, const std::string& data) {
  keys_[path][valueName] = data;
}

void FakeRegistry::SetText(const std::string& path, const std::string& valueName, const std::string& text) {
  SetValue(path, valueName, text + '\0');
}

void FakeRegistry::AddKey(const std::string& path) { keys_[path]; }

std::optional<RegistryKeyHandle> FakeRegistry::OpenKey(RegistryRoot root, std::string_view path, unsigned access) {
  opens_.push_back({root, std::string(path), access});
  if (root != RegistryRoot::LocalMachine || !keys_.contains(std::string(path))) return std::nullopt;
  const RegistryKeyHandle key = nextHandle_++;
  open_[key] = path;
  return key;
}

std::optional<std::size_t> FakeRegistry::QueryValue(RegistryKeyHandle key, std::string_view valueName,
                                                    std::span<char> buffer) {
  const auto handle = open_.find(key);
  if (handle == open_.end()) {
    errors_.push_back("query of a key that is not open");
    return std::nullopt;
  }
  queries_.push_back({handle->second, std::string(valueName), buffer.size()});
  const auto& values = keys_.at(handle->second);
  const auto value = values.find(std::string(valueName));
  if (value == values.end() || value->second.size() > buffer.size()) return std::nullopt;
  std::copy(value->second.begin(), value->second.end(), buffer.begin());
  return value->second.size();
}

void FakeRegistry::CloseKey(RegistryKeyHandle key) {
  ++closes_;
  if (open_.erase(key) == 0) errors_.push_back("close of a key that is not open");
}

std::vector<std::string> FakeRegistry::openedPaths() const {
  std::vector<std::string> paths;
  for (const Open& open : opens_) paths.push_back(open.path);
  return paths;
}

}  // namespace quorvel::platform
