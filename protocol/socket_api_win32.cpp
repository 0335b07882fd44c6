// The socket layer's Windows side: Winsock, the interface list from the adapter list, and receive
// sockets bound to their interface's address, which Windows scopes by itself.
#include "socket_native.h"

#include <iphlpapi.h>

namespace quorvel::net {

namespace native {

bool StartLibrary() {
  WSADATA data{};
  return WSAStartup(MAKEWORD(2, 0), &data) == 0;
}
void StopLibrary() { WSACleanup(); }
void CloseSocket(std::intptr_t handle) { closesocket(Native(handle)); }
int Poll(std::vector<PollEntry>& entries, int millis) {
  return WSAPoll(entries.data(), static_cast<ULONG>(entries.size()), millis);
}
int LastError() { return WSAGetLastError(); }
bool AddressInUse(int code) { return code == WSAEADDRINUSE || code == WSAEACCES; }

std::string SystemText(int code) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result = length != 0 ? std::string(text, length) : std::string();
  LocalFree(text);
  return result;
}

// Windows delivers the group's datagrams to a socket bound to the interface's own address.
sockaddr_in ReceiverAddress(const LocalInterface& local) {
  sockaddr_in bound = AnyAddress();
  bound.sin_addr = ParseAddress(local.address);
  return bound;
}

// The bound address scopes the socket; Windows reports no arrival interface.
unsigned ScopeReceiver(std::intptr_t, const LocalInterface&) { return 0; }

// Windows lets a bind to the interface's own address pass beside another program's socket bound
// to any address; ask for that one too.
bool PortHeldElsewhere(const LocalInterface& local) {
  return BindRefused(ReceiverAddress(local)) || BindRefused(AnyAddress());
}

// recvfrom; a datagram longer than the buffer is reported as longer than the buffer.
long ReadMessage(std::intptr_t handle, std::span<std::byte> data, std::span<std::byte>, std::size_t& controlLength) {
  controlLength = 0;
  sockaddr_in from{};
  int fromLength = sizeof from;
  const int n = recvfrom(Native(handle), reinterpret_cast<char*>(data.data()), static_cast<int>(data.size()), 0,
                         reinterpret_cast<sockaddr*>(&from), &fromLength);
  if (n < 0 && WSAGetLastError() == WSAEMSGSIZE) return static_cast<long>(data.size()) + 1;
  return n;
}

unsigned ArrivalInterface(std::span<std::byte>, std::size_t) { return 0; }

}  // namespace native

namespace {

std::string Utf8(const wchar_t* wide) {
  if (!wide) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
  text.pop_back();  // the terminator
  return text;
}

}  // namespace

std::vector<LocalAddress> ListLocalAddresses() {
  std::vector<LocalAddress> result;
  ULONG size = 16 * 1024;
  std::vector<unsigned char> storage;
  ULONG status = ERROR_BUFFER_OVERFLOW;
  for (int attempt = 0; attempt < 3 && status == ERROR_BUFFER_OVERFLOW; ++attempt) {
    storage.resize(size);
    status = GetAdaptersAddresses(
        AF_INET, GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER, nullptr,
        reinterpret_cast<IP_ADAPTER_ADDRESSES*>(storage.data()), &size);
  }
  if (status != NO_ERROR) return result;
  for (auto* adapter = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(storage.data()); adapter;
       adapter = adapter->Next) {
    for (auto* unicast = adapter->FirstUnicastAddress; unicast; unicast = unicast->Next) {
      const auto* in = reinterpret_cast<const sockaddr_in*>(unicast->Address.lpSockaddr);
      if (in->sin_family != AF_INET) continue;
      char text[INET_ADDRSTRLEN] = {};
      inet_ntop(AF_INET, &in->sin_addr, text, sizeof text);
      result.push_back({Utf8(adapter->FriendlyName), text, adapter->IfIndex, adapter->OperStatus == IfOperStatusUp,
                        adapter->IfType == IF_TYPE_SOFTWARE_LOOPBACK, unicast->OnLinkPrefixLength});
    }
  }
  return result;
}

}  // namespace quorvel::net
