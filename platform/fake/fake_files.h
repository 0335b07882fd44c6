// Files for tests: an in-memory disk of files (path -> bytes) and folders, paths compared without regard to
// case as Windows does; chosen paths refuse to be written, and every operation is recorded in order.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"

namespace quorvel::platform {

class FakeFiles final : public Files {
 public:
  // "write", "write-text", "remove", "copy", "exists", "mkdir", "rmdir" with the path (copy: "from>to").
  struct Call {
    std::string operation;
    std::string path;
  };

  void Put(const std::string& path, const std::string& bytes) { files_[Key(path)] = bytes; }
  void PutFolder(const std::string& path) { folders_.insert(Key(path)); }
  // Writes (and copies) to this path fail from now on.
  void RefuseWrites(const std::string& path) { refused_.insert(Key(path)); }

  bool WriteBinary(std::string_view path, std::string_view bytes) override;
  bool WriteText(std::string_view path, std::string_view text) override;
  bool Remove(std::string_view path) override;
  bool Copy(std::string_view from, std::string_view to, bool failIfExists) override;
  bool Exists(std::string_view path) override;
  bool CreateFolder(std::string_view path) override;
  bool RemoveFolder(std::string_view path) override;

  // The file's bytes as last written; nothing when there is no such file.
  const std::string* File(const std::string& path) const;
  bool HasFolder(const std::string& path) const { return folders_.count(Key(path)) != 0; }
  const std::vector<Call>& calls() const { return calls_; }

 private:
  static std::string Key(std::string_view path);  // lower case, without a trailing backslash

  std::map<std::string, std::string> files_;
  std::set<std::string> folders_;
  std::set<std::string> refused_;
  std::vector<Call> calls_;
};

}  // namespace quorvel::platform
