// The real transport: one send and one receive socket per local IPv4 interface, at most eight.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "socket_api.h"

namespace quorvel {

class MulticastTransport final : public Transport {
 public:
  // The first MAX_INTERFACES usable addresses that the system lists.
  MulticastTransport() = default;
  // Exactly these interfaces, in this order (to search addresses beyond the usual ones).
  explicit MulticastTransport(std::vector<net::LocalInterface> locals) : locals_(std::move(locals)) {}

  bool Start() override;
  void Stop() override;

  int InterfaceCount() const override { return static_cast<int>(interfaces_.size()); }
  std::string InterfaceAddress(int index) const override;
  int InterfacePrefixLength(int index) const override;
  unsigned InterfaceSystemIndex(int index) const override;
  std::vector<std::string> LocalAddresses() const override;

  // How far opening interface i's receive socket got.
  const net::ReceiverSteps& ReceiverStepsOf(int index) const { return interfaces_.at(index).steps; }

  void SendOnInterface(int index, Bytes request) override;
  Received ReceiveOnInterface(int index, int timeoutMicros, PacketBuffer& buffer) override;
  std::vector<int> WaitReadable(std::span<const int> indices, int timeoutMicros) override;

 private:
  struct Interface {
    std::string address;
    int prefixLength = 0;
    unsigned systemIndex = 0;
    net::UdpSocket sender;
    net::UdpSocket receiver;
    net::ReceiverSteps steps;
  };

  bool ValidIndex(int index) const { return index >= 0 && index < InterfaceCount(); }

  std::optional<std::vector<net::LocalInterface>> locals_;
  net::SocketLibrary library_;
  std::vector<Interface> interfaces_;
};

}  // namespace quorvel
