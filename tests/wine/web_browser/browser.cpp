// quorvel-test-browser: stands in for the PC's web browser in the Wine tests. Registered as the
// browser's open command with the path of a record file as its first argument, it appends its whole
// command line, as it received it (UTF-8), and a line break to that file, and ends with 0. The
// record is how a test sees what the console started: "BROWSER RECORD http://ADDRESS".
// Exit 2: no record file named; exit 3: the record cannot be written. A program of the windows
// subsystem that opens no window, so that no console comes up for it either.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

constexpr int kExitNoRecord = 2;
constexpr int kExitWriteFailed = 3;

std::string Utf8(const wchar_t* text) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return {};
  std::string utf8(static_cast<std::size_t>(bytes - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}

// Appends in one write, so that records of starts that overlap cannot interleave.
bool AppendLine(const wchar_t* path, const std::string& line) {
  HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const std::string record = line + "\r\n";
  DWORD written = 0;
  const BOOL ok = WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == record.size();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const wchar_t* commandLine = GetCommandLineW();
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(commandLine, &count);
  if (!arguments || count < 2) return kExitNoRecord;
  const bool written = AppendLine(arguments[1], Utf8(commandLine));
  LocalFree(arguments);
  return written ? 0 : kExitWriteFailed;
}
