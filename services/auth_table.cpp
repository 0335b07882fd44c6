#include "services/auth_table.h"

namespace quorvel {

AuthEntry* AuthTable::Find(std::string_view key) {
  const auto it = entries_.find(key);
  return it == entries_.end() ? nullptr : &it->second;
}

bool AuthTable::IsAuthenticated(std::string_view key) const {
  const auto it = entries_.find(key);
  return it != entries_.end() && it->second.authenticated;
}

}  // namespace quorvel
