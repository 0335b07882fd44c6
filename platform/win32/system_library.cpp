#include "platform/win32/system_library.h"

#include <string>

#include "platform/system_library_path.h"

namespace quorvel::platform {

namespace {

constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

std::string SystemFolder() {
  char folder[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(folder, length) : std::string();
}

}  // namespace

HMODULE LoadSystemLibrary(const char* name) {
  const std::string path = SystemLibraryPath(SystemFolder(), name != nullptr ? name : "");
  if (path.empty()) return nullptr;
  // The system folder only. A system without the search flags (Windows 7 without its loader update)
  // refuses the flag with ERROR_INVALID_PARAMETER; the full path then names the same file.
  if (HMODULE library = ::LoadLibraryExA(name, nullptr, kSearchSystem32)) return library;
  if (::GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
  return ::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

FARPROC FindSystemFunction(const char* library, const char* name) {
  HMODULE module = LoadSystemLibrary(library);
  return module != nullptr && name != nullptr ? ::GetProcAddress(module, name) : nullptr;
}

}  // namespace quorvel::platform
