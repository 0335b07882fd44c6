// Which boxes of the current device list have accepted a login, and with which credentials.
// Keyed by the box's key text; rebuilt on every refresh of the device list.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "protocol/fixed_text.h"

namespace quorvel {

struct AuthEntry {
  bool authenticated = false;
  FixedText<64> userName;
  FixedText<64> password;
};

class AuthTable {
 public:
  void Clear() { entries_.clear(); }
  // Adds a fresh entry for the key; an entry already present under the key is left unchanged.
  void Insert(std::string_view key) { entries_.try_emplace(std::string(key)); }
  AuthEntry* Find(std::string_view key);
  bool IsAuthenticated(std::string_view key) const;
  std::size_t size() const { return entries_.size(); }

 private:
  std::map<std::string, AuthEntry, std::less<>> entries_;
};

}  // namespace quorvel
