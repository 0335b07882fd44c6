// The system's socket headers and the calls that differ between Windows and Linux, for the socket
// layer's own files: socket_api.cpp holds what both share, socket_api_win32.cpp and
// socket_api_posix.cpp each system's side. Not for use outside them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#endif

#include "socket_api.h"

namespace quorvel::net::native {

#ifdef _WIN32
using Handle = SOCKET;
using PollEntry = WSAPOLLFD;
#else
using Handle = int;
using PollEntry = pollfd;
#endif

inline Handle Native(std::intptr_t handle) { return static_cast<Handle>(handle); }

// ---- each system's side (socket_api_win32.cpp, socket_api_posix.cpp) ----

bool StartLibrary();
void StopLibrary();
void CloseSocket(std::intptr_t handle);
int Poll(std::vector<PollEntry>& entries, int millis);
int LastError();
bool AddressInUse(int code);
std::string SystemText(int code);
// Where the receive socket of an interface binds the port.
sockaddr_in ReceiverAddress(const LocalInterface& local);
// What a receive socket needs beyond the common options to see only its interface's datagrams;
// gives the system index that its datagrams must carry (0: the system scopes it already).
unsigned ScopeReceiver(std::intptr_t handle, const LocalInterface& local);
// Whether another socket holds the port where this interface's receive socket would bind it.
bool PortHeldElsewhere(const LocalInterface& local);
// One datagram with its ancillary data; a datagram longer than `data` reports a longer length.
long ReadMessage(std::intptr_t handle, std::span<std::byte> data, std::span<std::byte> control,
                 std::size_t& controlLength);
// The system index of the interface that the datagram arrived on, from its ancillary data; 0 if none.
unsigned ArrivalInterface(std::span<std::byte> control, std::size_t controlLength);

// ---- shared (socket_api.cpp) ----

std::intptr_t OpenDatagramSocket();
in_addr ParseAddress(const std::string& text);
sockaddr_in AnyAddress();
// A bind without SO_REUSEADDR fails while another socket holds the port at an overlapping address.
bool BindRefused(const sockaddr_in& address);

template <typename T>
bool SetOption(std::intptr_t handle, int level, int name, const T& value) {
  return setsockopt(Native(handle), level, name, reinterpret_cast<const char*>(&value), sizeof value) == 0;
}

}  // namespace quorvel::net::native
