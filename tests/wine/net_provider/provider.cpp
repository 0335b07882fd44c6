// quorvel-test-netprovider: the network provider of the Wine tests. Wine's multiple provider router
// (mpr) loads it when the prefix's registry names it (NetworkProvider\Order and the provider's
// NetworkProvider key), and hands it every connection request.
//
// A connection of "X:" to "\\host\share" is made when the share is there, that is when the prefix
// has the folder dosdevices/unc/host/share (Wine's place for UNC paths; the test creates it), and
// the letter is not in use. The letter then becomes a network drive of Wine's mount manager whose
// mount point is "unc/host/share": the form in which Wine's WNetGetConnection reports a drive's
// remote name. Cancelling removes the drive again. Connections without a local name are refused.
//
// Every call is recorded in C:\quorvel-np.log, one line each, for the test to read:
//   add3 Z: \\198.51.100.10\Volume1 user=- password=- flags=1 -> 0
//   cancel Z: force=1 -> 0
// ("-" for a null user name or password, the text in quotes otherwise.)
#include <windows.h>
#include <winioctl.h>
#include <winnetwk.h>

#include <algorithm>
#include <string>

namespace {

// The provider interface's numbers (npapi.h, whose declarations lack C linkage for C++).
constexpr DWORD kCapsInterfaceVersion = 0x01;
constexpr DWORD kCapsNetType = 0x02;
constexpr DWORD kCapsConnection = 0x06;
constexpr DWORD kInterfaceVersion51 = 0x00050001;
constexpr DWORD kConAddConnection = 0x01;
constexpr DWORD kConCancelConnection = 0x02;
constexpr DWORD kConGetConnections = 0x04;
constexpr DWORD kConAddConnection3 = 0x08;

// Wine's own extension of the mount manager's interface (its ddk/mountmgr.h).
constexpr ULONG kMountManagerType = 'm';
constexpr DWORD kDefineUnixDrive =
    CTL_CODE(kMountManagerType, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
constexpr DWORD kQueryUnixDrive = CTL_CODE(kMountManagerType, 33, METHOD_BUFFERED, FILE_READ_ACCESS);
constexpr const wchar_t* kMountManager = L"\\\\.\\MountPointManager";

struct UnixDrive {
  ULONG size;
  ULONG type;
  ULONG fsType;
  DWORD serial;
  ULONGLONG unixDevice;
  WCHAR letter;
  USHORT mountPointOffset;
  USHORT deviceOffset;
  USHORT labelOffset;
};

constexpr const wchar_t* kRecordPath = L"C:\\quorvel-np.log";
constexpr DWORD kNetType = 0x00FA0000;  // a network type no real provider uses
constexpr std::size_t kLargestMountPoint = 512;

// Wine's code page of Unix file names (its CP_UNIXCP): a mount point is a Unix path in the Unix locale's
// character set, UTF-8 or another one such as EUC-JP.
constexpr UINT kUnixCodePage = 65010;

std::string Narrow(const wchar_t* text, UINT codePage = CP_UTF8) {
  if (!text) return "-";
  const int bytes = WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string narrow(bytes > 0 ? static_cast<std::size_t>(bytes - 1) : 0, '\0');
  if (bytes > 1) WideCharToMultiByte(codePage, 0, text, -1, narrow.data(), bytes, nullptr, nullptr);
  return narrow;
}

std::string Utf8(const wchar_t* text) { return Narrow(text); }

std::wstring Wide(const std::string& text, UINT codePage) {
  const int chars = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(chars > 0 ? static_cast<std::size_t>(chars) : 0, L'\0');
  if (chars > 0) MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), chars);
  return wide;
}

std::string Quoted(const wchar_t* text) {
  if (!text) return "-";
  std::string quoted(1, '"');
  quoted += Utf8(text);
  quoted += '"';
  return quoted;
}

void Record(std::string text) {
  HANDLE file = CreateFileW(kRecordPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  text += "\r\n";
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

DWORD Recorded(std::string line, DWORD result) {
  line += " -> ";
  line += std::to_string(result);
  Record(line);
  return result;
}

// The letter of a local name "X:", upper case; 0 for anything else.
wchar_t LetterOf(const wchar_t* localName) {
  if (!localName || !localName[0] || localName[1] != L':' || localName[2]) return 0;
  wchar_t letter = localName[0];
  if (letter >= L'a' && letter <= L'z') letter = static_cast<wchar_t>(letter - L'a' + L'A');
  return letter >= L'A' && letter <= L'Z' ? letter : 0;
}

// "\\host\share" as Wine's mount point "unc/host/share" in the Unix code page; empty for any other shape.
std::string MountPointOf(const wchar_t* remoteName) {
  const std::string remote = Narrow(remoteName, kUnixCodePage);
  if (remote.size() < 5 || remote.compare(0, 2, "\\\\") != 0) return {};
  const std::size_t cut = remote.find('\\', 2);
  if (cut == std::string::npos || cut == 2 || cut + 1 == remote.size()) return {};
  if (remote.find('\\', cut + 1) != std::string::npos || remote.find('/') != std::string::npos) return {};
  return "unc/" + remote.substr(2, cut - 2) + "/" + remote.substr(cut + 1);
}

bool Control(DWORD code, void* data, DWORD size, DWORD outSize = 0) {
  HANDLE manager = CreateFileW(kMountManager, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
  if (manager == INVALID_HANDLE_VALUE) return false;
  DWORD returned = 0;
  const BOOL ok = DeviceIoControl(manager, code, data, size, data, outSize, &returned, nullptr);
  CloseHandle(manager);
  return ok != FALSE;
}

// The mount point of a letter that is one of our network drives; empty when it is not.
std::string OurMountPoint(wchar_t letter) {
  union {
    UnixDrive drive;
    char bytes[sizeof(UnixDrive) + kLargestMountPoint];
  } query{};
  query.drive.letter = letter;
  if (!Control(kQueryUnixDrive, &query, sizeof(UnixDrive), sizeof query)) return {};
  if (query.drive.type != DRIVE_REMOTE || !query.drive.mountPointOffset ||
      query.drive.mountPointOffset >= sizeof query) {
    return {};
  }
  const char* mount = query.bytes + query.drive.mountPointOffset;
  const std::string text(mount, strnlen(mount, sizeof query - query.drive.mountPointOffset));
  return text.rfind("unc/", 0) == 0 ? text : std::string();
}

bool DefineDrive(wchar_t letter, const std::string& mountPoint) {
  std::string buffer(sizeof(UnixDrive), '\0');
  UnixDrive drive{};
  drive.size = sizeof drive;
  drive.letter = letter;
  drive.type = mountPoint.empty() ? DRIVE_NO_ROOT_DIR : DRIVE_REMOTE;
  if (!mountPoint.empty()) {
    drive.mountPointOffset = static_cast<USHORT>(buffer.size());
    buffer += mountPoint;
    buffer += '\0';
  }
  memcpy(buffer.data(), &drive, sizeof drive);
  return Control(kDefineUnixDrive, buffer.data(), static_cast<DWORD>(buffer.size()));
}

bool ShareIsThere(const wchar_t* remoteName) {
  const DWORD attributes = GetFileAttributesW(remoteName);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

DWORD Connect(const char* call, LPNETRESOURCEW resource, LPCWSTR password, LPCWSTR user, DWORD flags) {
  std::string what = call;
  for (const std::string& part : {Utf8(resource ? resource->lpLocalName : nullptr),
                                  Utf8(resource ? resource->lpRemoteName : nullptr), "user=" + Quoted(user),
                                  "password=" + Quoted(password), "flags=" + std::to_string(flags)}) {
    what += ' ';
    what += part;
  }
  if (!resource || resource->dwType != RESOURCETYPE_DISK) return Recorded(what, WN_BAD_VALUE);
  const wchar_t letter = LetterOf(resource->lpLocalName);
  const std::string mountPoint = MountPointOf(resource->lpRemoteName);
  if (!letter) return Recorded(what, WN_BAD_LOCALNAME);
  if (mountPoint.empty() || !ShareIsThere(resource->lpRemoteName)) return Recorded(what, WN_BAD_NETNAME);
  const wchar_t root[] = {letter, L':', L'\\', 0};
  if (GetDriveTypeW(root) != DRIVE_NO_ROOT_DIR) return Recorded(what, WN_ALREADY_CONNECTED);
  return Recorded(what, DefineDrive(letter, mountPoint) ? WN_SUCCESS : WN_NO_NETWORK);
}

}  // namespace

extern "C" {

DWORD APIENTRY NPGetCaps(DWORD index) {
  switch (index) {
    case kCapsInterfaceVersion: return kInterfaceVersion51;
    case kCapsNetType: return kNetType;
    case kCapsConnection: return kConAddConnection | kConAddConnection3 | kConCancelConnection | kConGetConnections;
    default: return 0;  // no enumeration, no dialogs
  }
}

DWORD APIENTRY NPAddConnection(LPNETRESOURCEW resource, LPWSTR password, LPWSTR user) {
  return Connect("add", resource, password, user, 0);
}

DWORD APIENTRY NPAddConnection3(HWND, LPNETRESOURCEW resource, LPWSTR password, LPWSTR user, DWORD flags) {
  return Connect("add3", resource, password, user, flags);
}

DWORD APIENTRY NPCancelConnection(LPWSTR name, BOOL force) {
  std::string what = "cancel ";
  what += Utf8(name);
  what += force ? " force=1" : " force=0";
  const wchar_t letter = LetterOf(name);
  if (!letter || OurMountPoint(letter).empty()) return Recorded(what, WN_NOT_CONNECTED);
  return Recorded(what, DefineDrive(letter, {}) ? WN_SUCCESS : WN_NO_NETWORK);
}

DWORD APIENTRY NPGetConnection(LPWSTR localName, LPWSTR remoteName, LPDWORD size) {
  const wchar_t letter = LetterOf(localName);
  const std::string mountPoint = letter ? OurMountPoint(letter) : std::string();
  if (mountPoint.empty()) return WN_NOT_CONNECTED;
  // The mount point is a Unix path: "unc/host/share" gives "\\host\share" in the wide form.
  std::string unc = "\\\\" + mountPoint.substr(4);
  std::replace(unc.begin(), unc.end(), '/', '\\');
  const std::wstring remote = Wide(unc, kUnixCodePage);
  if (!size || *size < remote.size() + 1) {
    if (size) *size = static_cast<DWORD>(remote.size() + 1);
    return WN_MORE_DATA;
  }
  memcpy(remoteName, remote.c_str(), (remote.size() + 1) * sizeof(wchar_t));
  return WN_SUCCESS;
}

}  // extern "C"
