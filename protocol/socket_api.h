// The small part of the socket layer that the protocol needs, the same on Windows and Linux.
// Every platform difference lives in socket_api.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
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
  static UdpSocket OpenReceiver(const LocalInterface& local);
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
