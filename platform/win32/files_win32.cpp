#include "platform/win32/files_win32.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

namespace quorvel::platform {

namespace {

struct CloseFile {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

bool Write(std::string_view path, std::string_view bytes, const char* mode) {
  std::unique_ptr<std::FILE, CloseFile> file(std::fopen(std::string(path).c_str(), mode));
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  return std::fclose(file.release()) == 0 && written;
}

}  // namespace

bool Win32Files::WriteBinary(std::string_view path, std::string_view bytes) { return Write(path, bytes, "wb"); }

bool Win32Files::WriteText(std::string_view path, std::string_view text) { return Write(path, text, "w"); }

bool Win32Files::Remove(std::string_view path) { return std::remove(std::string(path).c_str()) == 0; }

bool Win32Files::Copy(std::string_view from, std::string_view to, bool failIfExists) {
  return ::CopyFileA(std::string(from).c_str(), std::string(to).c_str(), failIfExists ? TRUE : FALSE) != FALSE;
}

bool Win32Files::Exists(std::string_view path) {
  return ::GetFileAttributesA(std::string(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32Files::CreateFolder(std::string_view path) {
  return ::CreateDirectoryA(std::string(path).c_str(), nullptr) != FALSE;
}

bool Win32Files::RemoveFolder(std::string_view path) { return ::RemoveDirectoryA(std::string(path).c_str()) != FALSE; }

}  // namespace quorvel::platform
