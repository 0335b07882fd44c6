#include "platform/win32/registry_win32.h"

#include <windows.h>

#include <string>

namespace quorvel::platform {

namespace {

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
  }
  return HKEY_LOCAL_MACHINE;
}

HKEY KeyOf(RegistryKeyHandle key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

std::optional<RegistryKeyHandle> Win32Registry::OpenKey(RegistryRoot root, std::string_view path, unsigned access) {
  const std::string keyPath(path);
  HKEY key = nullptr;
  if (RegOpenKeyExA(RootKey(root), keyPath.c_str(), 0, access, &key) != ERROR_SUCCESS) return std::nullopt;
  return reinterpret_cast<RegistryKeyHandle>(key);
}

std::optional<std::size_t> Win32Registry::QueryValue(RegistryKeyHandle key, std::string_view valueName,
                                                      std::span<char> buffer) {
  const std::string name(valueName);  // "" names the default value
  DWORD size = static_cast<DWORD>(buffer.size());
  // Data larger than the buffer fails with ERROR_MORE_DATA and leaves the buffer's contents undefined.
  if (RegQueryValueExA(KeyOf(key), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  if (size > buffer.size()) return std::nullopt;
  return size;
}

void Win32Registry::CloseKey(RegistryKeyHandle key) { RegCloseKey(KeyOf(key)); }

}  // namespace quorvel::platform
