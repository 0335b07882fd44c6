#include "doctor_probe.h"

#include <memory>

#include "device_protocol.h"
#include "multicast_transport.h"

namespace quorvel::cli {

std::optional<DoctorFindings> ExamineNetwork(Clock& clock) {
  net::SocketLibrary library;
  if (!library.Start()) return std::nullopt;
  DoctorFindings findings;
  const std::vector<net::LocalAddress> addresses = net::ListLocalAddresses();
  const std::vector<std::optional<net::SkipReason>> choice = net::ChooseAddresses(addresses, MAX_INTERFACES);
  // The kept addresses come first in the system's order, so they get the interface indexes that
  // the main window gives them and the same device table; the others follow.
  std::vector<net::LocalInterface> searched;
  std::vector<AddressFindings*> searchedFindings;
  findings.addresses.reserve(addresses.size());
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    AddressFindings& each = findings.addresses.emplace_back();
    each.local = addresses[i];
    each.skipped = choice[i];
    each.searched = ShouldSearch(choice[i]);
    if (!each.searched) continue;
    searched.push_back({addresses[i].address, addresses[i].systemIndex, addresses[i].prefixLength});
    searchedFindings.push_back(&each);
  }
  // Asked before this program opens its own receive sockets, which hold the port too.
  for (std::size_t k = 0; k < searched.size(); ++k) searchedFindings[k]->portShared = net::PortHeldElsewhere(searched[k]);

  auto transport = std::make_unique<MulticastTransport>(searched);
  const MulticastTransport& sockets = *transport;
  DeviceProtocol protocol(std::move(transport), clock);
  if (!protocol.NetStartup()) return std::nullopt;
  protocol.SearchDevices();
  const std::vector<SearchStats>& stats = protocol.LastSearchStats();
  for (std::size_t k = 0; k < searched.size(); ++k) {
    searchedFindings[k]->steps = sockets.ReceiverStepsOf(static_cast<int>(k));
    if (k < stats.size()) searchedFindings[k]->stats = stats[k];
  }
  return findings;
}

}  // namespace quorvel::cli
