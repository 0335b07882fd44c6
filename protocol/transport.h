// The primitive steps of the protocol on the local interfaces: send a request to the group on one
// interface, wait until some interfaces' receive sockets are readable, and read one datagram. The
// real transport uses multicast sockets; tests use an in-memory one.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "packet.h"

namespace quorvel {

struct Received {
  bool arrived = false;  // false: the wait passed with nothing readable
  int length = 0;        // bytes read, or a negative error value from the socket layer
};

class Transport {
 public:
  virtual ~Transport() = default;

  // Starts the socket library, fills the interface table and opens the sockets.
  // False only when the socket library cannot be started.
  virtual bool Start() = 0;
  // Closes every socket and ends the socket library.
  virtual void Stop() = 0;

  virtual int InterfaceCount() const = 0;
  virtual std::string InterfaceAddress(int index) const = 0;
  // The on-link prefix length of the interface's address (24 for 255.255.255.0); 0 when not known.
  virtual int InterfacePrefixLength(int index) const = 0;
  // The system's index of the device that carries the interface's address (addresses of one card share
  // it); 0 when not known.
  virtual unsigned InterfaceSystemIndex(int /*index*/) const { return 0; }
  // Every IPv4 address of this PC that the system lists, those of the interfaces used and all others.
  virtual std::vector<std::string> LocalAddresses() const { return {}; }

  // Makes the interface the outgoing one and sends the request to the group. What waits on the
  // interface's receive socket is the caller's to drain first.
  virtual void SendOnInterface(int index, Bytes request) = 0;
  // Waits up to timeoutMicros for one datagram on the interface's receive socket.
  virtual Received ReceiveOnInterface(int index, int timeoutMicros, PacketBuffer& buffer) = 0;
  // Waits up to timeoutMicros until one of these interfaces' receive sockets is readable; gives
  // those that are, in the order asked (none: the time passed). A readable socket may still yield
  // nothing to ReceiveOnInterface (a datagram of another interface, dropped there).
  virtual std::vector<int> WaitReadable(std::span<const int> indices, int timeoutMicros) = 0;
};

}  // namespace quorvel
