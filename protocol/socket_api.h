// The small part of the socket layer that the protocol needs, the same on Windows and Linux.
// Every platform difference lives in socket_api.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "transport.h"

namespace quorvel::net {

// Starts the socket library for the lifetime of the object.
class SocketLibrary {
 public:
  SocketLibrary() = default;
  ~SocketLibrary();
  SocketLibrary(const SocketLibrary&) = delete;
  SocketLibrary& operator=(const SocketLibrary&) = delete;

  bool Start();  // false when the library cannot be started
  void Stop();

 private:
  bool started_ = false;
};

struct LocalInterface {
  std::string address;       // dotted IPv4 text
  unsigned systemIndex = 0;  // the system's index of the interface that carries the address
};

// The local IPv4 addresses from the system's interface list, loopback skipped, in the system's
// order, at most `limit` of them.
std::vector<LocalInterface> ListLocalInterfaces(std::size_t limit);

// One UDP socket; move-only, closed by its destructor.
class UdpSocket {
 public:
  UdpSocket() = default;
  ~UdpSocket();
  UdpSocket(UdpSocket&& other) noexcept;
  UdpSocket& operator=(UdpSocket&& other) noexcept;
  UdpSocket(const UdpSocket&) = delete;
  UdpSocket& operator=(const UdpSocket&) = delete;

  // A socket that sends to the group; multicast loopback off.
  static UdpSocket OpenSender();
  // A socket that receives the group's datagrams (and unicast ones to the port) that arrive on
  // this interface and no other.
  static UdpSocket OpenReceiver(const LocalInterface& local);

  // Makes the next datagrams leave through the interface with this address.
  void SelectInterface(const std::string& address);
  void SendToGroup(Bytes data);
  // Waits up to timeoutMicros for one datagram of this interface. The length may exceed the
  // buffer (the datagram was too long) or be negative (an error of the socket layer).
  Received Receive(std::int64_t timeoutMicros, PacketBuffer& buffer);

  bool valid() const;
  void Close();

 private:
  explicit UdpSocket(std::intptr_t handle) : handle_(handle) {}

  std::intptr_t handle_ = -1;
  unsigned interfaceFilter_ = 0;  // system index that received datagrams must carry; 0: any
};

}  // namespace quorvel::net
