// The two sockets of the boxes on one interface: one receives the group's datagrams that arrive
// on that interface, the other sends the replies to the group from the interface's own address.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "file_descriptor.h"
#include "packet.h"
#include "socket_api.h"

namespace quorvel::boxsim {

struct Arrival {
  std::size_t length = 0;  // bytes of the datagram
  std::string from;        // the sender's address, dotted
};

class GroupReceiver {
 public:
  // Bound to the device port on any address, member of the group on this interface only, and
  // keeping only the datagrams that arrive on this interface.
  static std::optional<GroupReceiver> Open(const net::LocalInterface& local, std::string& error);

  // Reads the next datagram of this interface without waiting; nothing when none is waiting.
  std::optional<Arrival> ReadOne(std::span<std::byte> buffer);

  int fd() const { return fd_.get(); }

 private:
  GroupReceiver(FileDescriptor fd, unsigned systemIndex) : fd_(std::move(fd)), systemIndex_(systemIndex) {}

  FileDescriptor fd_;
  unsigned systemIndex_ = 0;
};

class GroupSender {
 public:
  // Bound to the interface's address, sending to the group through that interface, one hop,
  // without loopback.
  static std::optional<GroupSender> Open(const net::LocalInterface& local, std::string& error);

  bool Send(Bytes datagram);

 private:
  explicit GroupSender(FileDescriptor fd) : fd_(std::move(fd)) {}

  FileDescriptor fd_;
};

// The up, non-loopback local interface that carries this IPv4 address, if there is one.
std::optional<net::LocalInterface> FindLocalInterface(const std::string& address);

}  // namespace quorvel::boxsim
