// The small part of the socket layer that the protocol needs, the same on Windows and Linux.
// Every platform difference lives in socket_api.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "local_address.h"
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

// Every IPv4 address of the system's interface list, in its order, down and loopback ones included.
std::vector<LocalAddress> ListLocalAddresses();

// The addresses that ChooseAddresses keeps: up, not loopback, in the system's order, at most
// `limit` of them.
std::vector<LocalInterface> ListLocalInterfaces(std::size_t limit);

// How far opening a receive socket got. error: the failed step and the system's text for it.
struct ReceiverSteps {
  bool opened = false;  // the socket exists
  bool bound = false;   // it holds the port
  bool joined = false;  // it is a member of the group on its interface
  std::string error;
};

// Whether some other socket already holds the port where a receive socket of this interface
// binds. Holding it together is allowed (every receive socket shares the port); ask before this
// program opens its own receive sockets, which would count otherwise.
bool PortHeldElsewhere(const LocalInterface& local);

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
  // steps, when given, learns how far the opening got.
  static UdpSocket OpenReceiver(const LocalInterface& local, ReceiverSteps* steps = nullptr);

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
