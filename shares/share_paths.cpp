#include "shares/share_paths.h"

#include "services/browser_command.h"

namespace quorvel {

std::string RecycleShareName(std::string_view volume) {
  std::string name(kRecycleSharePrefix);
  name += volume;
  return name;
}

std::string ShareUncPath(std::string_view address, std::string_view share) {
  std::string path("\\\\");
  path += address;
  path += '\\';
  path += share;
  return path;
}

bool IsSafeShareName(std::string_view name) {
  return !name.empty() && name != "." && name.find_first_of("\\/") == std::string_view::npos &&
         name.find("..") == std::string_view::npos;
}

bool CanMapVolume(std::string_view address, std::string_view volume) {
  return IsDottedIpv4Address(address) && IsSafeShareName(volume);
}

}  // namespace quorvel
