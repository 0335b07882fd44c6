// Files and folders on the PC's own disks and on network paths ("\\\\host\\share\\..."), by path text.
#pragma once

#include <string_view>

namespace quorvel::platform {

class Files {
 public:
  virtual ~Files() = default;
  // Creates or replaces the file with exactly these bytes (mode "wb"); false when it cannot be created
  // or not all bytes were written.
  virtual bool WriteBinary(std::string_view path, std::string_view bytes) = 0;
  // The same in text mode: on Windows each "\n" becomes "\r\n".
  virtual bool WriteText(std::string_view path, std::string_view text) = 0;
  virtual bool Remove(std::string_view path) = 0;  // a file; true when it was removed
  // Copies a file; with failIfExists an existing destination is left alone and the copy fails.
  virtual bool Copy(std::string_view from, std::string_view to, bool failIfExists) = 0;
  virtual bool Exists(std::string_view path) = 0;        // a file or a folder
  virtual bool CreateFolder(std::string_view path) = 0;  // true when made (its parent must exist)
  virtual bool RemoveFolder(std::string_view path) = 0;  // an empty folder; true when removed
};

}  // namespace quorvel::platform
