// quorvel-test-netuse: the Wine tests' way to make, remove and look at drive connections through the
// platform's own calls, apart from the program under test.
//   quorvel-test-netuse add X: \\host\share   WNetAddConnection2W, remembered (CONNECT_UPDATE_PROFILE)
//   quorvel-test-netuse del X:                WNetCancelConnection2W, forgotten, forced
//   quorvel-test-netuse show X:               WNetGetConnectionW: prints the remote name
// Prints the call's result number on its first line ("result 0"), the remote name in UTF-8 on a second
// line for show; exit 0 when the result is 0, 1 otherwise, 2 for wrong usage.
#include <windows.h>
#include <winnetwk.h>

#include <cstdio>
#include <cwchar>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr DWORD kRemoteChars = 512;

int Report(DWORD result) {
  std::printf("result %lu\n", static_cast<unsigned long>(result));
  return result == NO_ERROR ? 0 : kExitFailed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 4 && std::wcscmp(argv[1], L"add") == 0) {
    NETRESOURCEW resource{};
    resource.dwType = RESOURCETYPE_DISK;
    resource.lpLocalName = argv[2];
    resource.lpRemoteName = argv[3];
    return Report(WNetAddConnection2W(&resource, nullptr, nullptr, CONNECT_UPDATE_PROFILE));
  }
  if (argc == 3 && std::wcscmp(argv[1], L"del") == 0) {
    return Report(WNetCancelConnection2W(argv[2], CONNECT_UPDATE_PROFILE, TRUE));
  }
  if (argc == 3 && std::wcscmp(argv[1], L"show") == 0) {
    wchar_t remote[kRemoteChars] = {};
    DWORD size = kRemoteChars;
    const DWORD result = WNetGetConnectionW(argv[2], remote, &size);
    const int code = Report(result);
    if (result == NO_ERROR) {
      char utf8[kRemoteChars * 3] = {};
      WideCharToMultiByte(CP_UTF8, 0, remote, -1, utf8, sizeof utf8, nullptr, nullptr);
      std::printf("%s\n", utf8);
    }
    return code;
  }
  std::fputs("usage: quorvel-test-netuse add X: \\\\host\\share | del X: | show X:\n", stderr);
  return kExitUsage;
}
