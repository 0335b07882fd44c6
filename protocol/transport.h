// The two primitive steps of the protocol on one local interface: send a request to the group,
// and wait for one datagram. The real transport uses multicast sockets; tests use an in-memory one.
#pragma once

#include <span>
#include <string>

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

  // Selects the interface, drains whatever waits on its receive socket (up to 1 s), then sends.
  virtual void SendOnInterface(int index, Bytes request) = 0;
  // Waits up to timeoutMicros for one datagram on the interface's receive socket.
  virtual Received ReceiveOnInterface(int index, int timeoutMicros, PacketBuffer& buffer) = 0;
};

}  // namespace quorvel
