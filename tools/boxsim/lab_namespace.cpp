#include "lab_namespace.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

namespace quorvel::boxsim {

bool InsideLabNamespace(const std::string& directory, std::string_view prefix) {
  struct stat own {};
  if (::stat("/proc/self/ns/net", &own) != 0) return false;
  std::error_code error;
  std::filesystem::directory_iterator it(directory, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    const std::filesystem::path& path = it->path();
    if (!path.filename().string().starts_with(prefix)) continue;
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0) continue;
    if (named.st_dev == own.st_dev && named.st_ino == own.st_ino) return true;
  }
  return false;
}

}  // namespace quorvel::boxsim
