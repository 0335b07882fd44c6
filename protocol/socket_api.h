// The small part of the socket layer that the protocol needs, the same on Windows and Linux.
// Every platform difference lives in socket_api_win32.cpp and socket_api_posix.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
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
  int prefixLength = 0;      // the address's on-link prefix length; 0 when not known
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

// The calls that a socket makes on its handle once it is open: wait, read, close. The system's
// calls are the default; a test may give a socket other ones (a read that fails, say).
class SocketCalls {
 public:
  virtual ~SocketCalls() = default;
  // Waits up to timeoutMicros until one of the handles is readable; gives for each handle whether
  // it is. None is: the time passed, or the wait failed.
  virtual std::vector<bool> WaitReadable(std::span<const std::intptr_t> handles, std::int64_t timeoutMicros) = 0;
  // Reads one datagram into `data`, with the ancillary data into `control` (controlLength: its
  // size on entry, the bytes filled on return). Gives the datagram's full length, more than
  // data.size() when it did not fit, or a negative value when the read failed.
  virtual long ReadMessage(std::intptr_t handle, std::span<std::byte> data, std::span<std::byte> control,
                           std::size_t& controlLength) = 0;
  virtual void Close(std::intptr_t handle) = 0;
};

SocketCalls& SystemSocketCalls();

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
  // A socket over a handle that is open already, whose calls go through `calls`; it keeps the
  // datagrams that carry this system interface index (0: all of them).
  static UdpSocket Adopt(std::intptr_t handle, unsigned interfaceFilter, SocketCalls& calls);

  // Makes the next datagrams leave through the interface with this address.
  void SelectInterface(const std::string& address);
  void SendToGroup(Bytes data);
  // Waits up to timeoutMicros for one datagram of this interface. The length may exceed the
  // buffer (the datagram was too long) or be negative (an error of the socket layer).
  Received Receive(std::int64_t timeoutMicros, PacketBuffer& buffer);
  // Waits up to timeoutMicros until one of the sockets is readable and gives, for each of them,
  // whether it is (a readable socket may hold only another interface's datagram). The sockets
  // share one kind of calls; closed ones are never readable.
  static std::vector<bool> WaitReadable(std::span<const UdpSocket* const> sockets, std::int64_t timeoutMicros);

  bool valid() const;
  void Close();

 private:
  explicit UdpSocket(std::intptr_t handle) : handle_(handle) {}

  std::intptr_t handle_ = -1;
  SocketCalls* calls_ = &SystemSocketCalls();
  unsigned interfaceFilter_ = 0;  // system index that received datagrams must carry; 0: any
};

}  // namespace quorvel::net
