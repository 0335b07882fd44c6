// A registry for tests: keys and value data scripted per key path, every open, query and close recorded,
// and the keys still open at any moment known.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace quorvel::platform {

class FakeRegistry final : public Registry {
 public:
  struct Open {
    RegistryRoot root;
    std::string path;
    unsigned access;
  };
  struct Query {
    std::string path;
    std::string valueName;
    std::size_t bufferBytes;
  };

  // The value's data exactly as stored: a text value normally ends with its NUL, and SetText adds it.
  // The key is made if it is not there. Keys live under HKEY_LOCAL_MACHINE.
  void SetValue(const std::string& path, const std::string& valueName, const std::string& data);
  void SetText(const std::string& path, const std::string& valueName, const std::string& text);
  void AddKey(const std::string& path);

  std::optional<RegistryKeyHandle> OpenKey(RegistryRoot root, std::string_view path, unsigned access) override;
  std::optional<std::size_t> QueryValue(RegistryKeyHandle key, std::string_view valueName,
                                        std::span<char> buffer) override;
  void CloseKey(RegistryKeyHandle key) override;

  const std::vector<Open>& opens() const { return opens_; }
  const std::vector<Query>& queries() const { return queries_; }
  std::size_t closes() const { return closes_; }
  std::size_t openKeys() const { return open_.size(); }
  // Misuse: queries and closes of handles that are not open.
  const std::vector<std::string>& errors() const { return errors_; }
  std::vector<std::string> openedPaths() const;

 private:
  std::map<std::string, std::map<std::string, std::string>> keys_;  // path -> value name -> data
  std::map<RegistryKeyHandle, std::string> open_;                    // handle -> path
  RegistryKeyHandle nextHandle_ = 0x100;
  std::vector<Open> opens_;
  std::vector<Query> queries_;
  std::size_t closes_ = 0;
  std::vector<std::string> errors_;
};

}  // namespace quorvel::platform
