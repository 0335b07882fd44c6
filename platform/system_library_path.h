// Where a system DLL is taken from when the system cannot be told to look in its own folder only: the
// full path in the system folder. A name that is not a bare file name (a folder, a drive, a climb) gets
// no path, so nothing outside the system folder can be named through it.
#pragma once

#include <string>
#include <string_view>

namespace quorvel::platform {

inline std::string SystemLibraryPath(std::string_view systemFolder, std::string_view name) {
  if (systemFolder.empty() || name.empty() || name == "." || name == ".." ||
      name.find_first_of("\\/:") != std::string_view::npos) {
    return {};
  }
  std::string path(systemFolder);
  if (path.back() != '\\' && path.back() != '/') path += '\\';
  return path.append(name);
}

}  // namespace quorvel::platform
