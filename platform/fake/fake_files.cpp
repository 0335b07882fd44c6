#include "platform/fake/fake_files.h"

#include <cctype>

namespace quorvel::platform {

std::string FakeFiles::Key(std::string_view path) {
  std::string key(path);
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  while (key.size() > 1 && key.back() == '\\') key.pop_back();
  return key;
}

bool FakeFiles::WriteBinary(std::string_view path, std::string_view bytes) {
  calls_.push_back({"write", std::string(path)});
  if (refused_.count(Key(path)) != 0) return false;
  files_[Key(path)] = std::string(bytes);
  return true;
}

bool FakeFiles::WriteText(std::string_view path, std::string_view text) {
  calls_.push_back({"write-text", std::string(path)});
  if (refused_.count(Key(path)) != 0) return false;
  std::string bytes;
  for (char c : text) {
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  files_[Key(path)] = bytes;
  return true;
}

bool FakeFiles::Remove(std::string_view path) {
  calls_.push_back({"remove", std::string(path)});
  return files_.erase(Key(path)) != 0;
}

bool FakeFiles::Copy(std::string_view from, std::string_view to, bool failIfExists) {
  calls_.push_back({"copy", std::string(from) + ">" + std::string(to)});
  const auto source = files_.find(Key(from));
  if (source == files_.end() || refused_.count(Key(to)) != 0) return false;
  if (failIfExists && files_.count(Key(to)) != 0) return false;
  files_[Key(to)] = source->second;
  return true;
}

bool FakeFiles::Exists(std::string_view path) {
  calls_.push_back({"exists", std::string(path)});
  return files_.count(Key(path)) != 0 || folders_.count(Key(path)) != 0;
}

bool FakeFiles::CreateFolder(std::string_view path) {
  calls_.push_back({"mkdir", std::string(path)});
  if (refused_.count(Key(path)) != 0 || folders_.count(Key(path)) != 0) return false;
  folders_.insert(Key(path));
  return true;
}

bool FakeFiles::RemoveFolder(std::string_view path) {
  calls_.push_back({"rmdir", std::string(path)});
  const std::string key = Key(path);
  const std::string prefix = key + "\\";
  for (const auto& [file, bytes] : files_) {
    if (file.compare(0, prefix.size(), prefix) == 0) return false;  // not empty
  }
  return folders_.erase(key) != 0;
}

const std::string* FakeFiles::File(const std::string& path) const {
  const auto found = files_.find(Key(path));
  return found != files_.end() ? &found->second : nullptr;
}

}  // namespace quorvel::platform
