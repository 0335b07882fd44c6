#include "multicast_transport.h"


namespace quorvel {

bool MulticastTransport::Start() {
  if (!library_.Start()) return false;
  const std::vector<net::LocalInterface> locals =
      locals_ ? *locals_ : net::ListLocalInterfaces(MAX_INTERFACES);
  for (const net::LocalInterface& local : locals) {
    net::ReceiverSteps steps;
    net::UdpSocket receiver = net::UdpSocket::OpenReceiver(local, &steps);
    interfaces_.push_back(
        {local.address, local.prefixLength, local.systemIndex, net::UdpSocket::OpenSender(), std::move(receiver),
         std::move(steps)});
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

int MulticastTransport::InterfacePrefixLength(int index) const {
  return ValidIndex(index) ? interfaces_[index].prefixLength : 0;
}

unsigned MulticastTransport::InterfaceSystemIndex(int index) const {
  return ValidIndex(index) ? interfaces_[index].systemIndex : 0;
}

std::vector<std::string> MulticastTransport::LocalAddresses() const {
  std::vector<std::string> addresses;
  for (const net::LocalAddress& each : net::ListLocalAddresses()) addresses.push_back(each.address);
  return addresses;
}

void MulticastTransport::SendOnInterface(int index, Bytes request) {
  if (!ValidIndex(index)) return;
  Interface& target = interfaces_[index];
  target.sender.SelectInterface(target.address);
  target.sender.SendToGroup(request);
}

Received MulticastTransport::ReceiveOnInterface(int index, int timeoutMicros, PacketBuffer& buffer) {
  if (!ValidIndex(index)) return {};
  return interfaces_[index].receiver.Receive(timeoutMicros, buffer);
}

std::vector<int> MulticastTransport::WaitReadable(std::span<const int> indices, int timeoutMicros) {
  std::vector<const net::UdpSocket*> sockets;
  std::vector<int> asked;
  for (int index : indices) {
    if (!ValidIndex(index)) continue;
    sockets.push_back(&interfaces_[index].receiver);
    asked.push_back(index);
  }
  const std::vector<bool> readable = net::UdpSocket::WaitReadable(sockets, timeoutMicros);
  std::vector<int> result;
  for (std::size_t i = 0; i < asked.size(); ++i) {
    if (readable[i]) result.push_back(asked[i]);
  }
  return result;
}

}  // namespace quorvel
