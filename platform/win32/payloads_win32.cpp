#include "platform/win32/payloads_win32.h"

#include <string>

namespace quorvel::platform {

// A loaded resource belongs to the module and needs no freeing.
std::optional<std::string> Win32Payloads::Read(std::string_view type, int id) {
  const std::string typeName(type);
  HRSRC found = ::FindResourceA(module_, MAKEINTRESOURCEA(id), typeName.c_str());
  if (found == nullptr) return std::nullopt;
  HGLOBAL loaded = ::LoadResource(module_, found);
  const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (bytes == nullptr) return std::nullopt;
  return std::string(static_cast<const char*>(bytes), ::SizeofResource(module_, found));
}

}  // namespace quorvel::platform
