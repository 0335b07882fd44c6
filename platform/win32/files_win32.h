// Files over the real system: the C runtime's fopen/fwrite/remove and CopyFileA, GetFileAttributesA,
// CreateDirectoryA, RemoveDirectoryA.
#pragma once

#include "platform/files.h"

namespace quorvel::platform {

class Win32Files final : public Files {
 public:
  bool WriteBinary(std::string_view path, std::string_view bytes) override;
  bool WriteText(std::string_view path, std::string_view text) override;
  bool Remove(std::string_view path) override;
  bool Copy(std::string_view from, std::string_view to, bool failIfExists) override;
  bool Exists(std::string_view path) override;
  bool CreateFolder(std::string_view path) override;
  bool RemoveFolder(std::string_view path) override;
};

}  // namespace quorvel::platform
