// Payloads from the executable's own resources (FindResourceA, LoadResource, LockResource, SizeofResource).
#pragma once

#include <windows.h>

#include "platform/payloads.h"

namespace quorvel::platform {

class Win32Payloads final : public Payloads {
 public:
  explicit Win32Payloads(HMODULE module = nullptr) : module_(module) {}
  std::optional<std::string> Read(std::string_view type, int id) override;

 private:
  HMODULE module_;  // null: the executable
};

}  // namespace quorvel::platform
