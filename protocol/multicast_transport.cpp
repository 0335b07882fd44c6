#include "multicast_transport.h"

#include <chrono>

namespace quorvel {

bool MulticastTransport::Start() {
  if (!library_.Start()) return false;
  const std::vector<net::LocalInterface> locals =
      locals_ ? *locals_ : net::ListLocalInterfaces(MAX_INTERFACES);
  for (const net::LocalInterface& local : locals) {
    net::ReceiverSteps steps;
    net::UdpSocket receiver = net::UdpSocket::OpenReceiver(local, &steps);
    interfaces_.push_back({local.address, net::UdpSocket::OpenSender(), std::move(receiver), std::move(steps)});
  }
  return true;
}

void MulticastTransport::Stop() {
  for (Interface& each : interfaces_) {
    each.sender.Close();
    each.receiver.Close();
  }
  interfaces_.clear();
  library_.Stop();
}

std::string MulticastTransport::InterfaceAddress(int index) const {
  return ValidIndex(index) ? interfaces_[index].address : std::string();
}

// Discards what waits on the receive socket: each datagram read restarts the one-second wait, but a
// steady stream of datagrams cannot hold the send for longer than twice that in all.
void MulticastTransport::DrainReceiveSocket(int index) {
  using Steady = std::chrono::steady_clock;
  const auto deadline = Steady::now() + 2 * std::chrono::microseconds(DRAIN_WAIT_MICROS);
  PacketBuffer scratch;
  while (interfaces_[index].receiver.Receive(DRAIN_WAIT_MICROS, scratch).arrived) {
    if (Steady::now() >= deadline) return;
  }
}

void MulticastTransport::SendOnInterface(int index, Bytes request) {
  if (!ValidIndex(index)) return;
  Interface& target = interfaces_[index];
  target.sender.SelectInterface(target.address);
  DrainReceiveSocket(index);
  target.sender.SendToGroup(request);
}

Received MulticastTransport::ReceiveOnInterface(int index, int timeoutMicros, PacketBuffer& buffer) {
  if (!ValidIndex(index)) return {};
  return interfaces_[index].receiver.Receive(timeoutMicros, buffer);
}

}  // namespace quorvel
