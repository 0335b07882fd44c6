#include "multicast_transport.h"

namespace quorvel {

bool MulticastTransport::Start() {
  if (!library_.Start()) return false;
  for (const net::LocalInterface& local : net::ListLocalInterfaces(MAX_INTERFACES)) {
    interfaces_.push_back({local.address, net::UdpSocket::OpenSender(), net::UdpSocket::OpenReceiver(local)});
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

void MulticastTransport::DrainReceiveSocket(int index) {
  PacketBuffer scratch;
  while (interfaces_[index].receiver.Receive(DRAIN_WAIT_MICROS, scratch).arrived) {
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
