#include "app/lan_check.h"

#include <algorithm>

#include "app/inet_address.h"

namespace quorvel {

std::uint32_t NetmaskOfPrefix(int prefixLength) {
  const int bits = std::clamp(prefixLength, 0, 32);
  return bits == 0 ? 0 : ~std::uint32_t{0} << (32 - bits);
}

std::uint32_t NetworkAddressOf(std::uint32_t address, int prefixLength) {
  return address & NetmaskOfPrefix(prefixLength);
}

bool OnSameNetwork(std::uint32_t pcAddress, int prefixLength, std::uint32_t other) {
  return NetworkAddressOf(pcAddress, prefixLength) == NetworkAddressOf(other, prefixLength);
}

std::optional<std::uint32_t> AddressOfText(std::string_view text) {
  const std::optional<Octets> octets = ParseInetAddress(text);
  if (!octets) return std::nullopt;
  std::uint32_t address = 0;
  for (int octet : *octets) address = address << 8 | static_cast<std::uint32_t>(octet & 0xFF);
  return address;
}

std::string DottedAddress(std::uint32_t address) {
  return DottedText(Octets{static_cast<int>(address >> 24), static_cast<int>(address >> 16 & 0xFF),
                           static_cast<int>(address >> 8 & 0xFF), static_cast<int>(address & 0xFF)});
}

namespace {

LanCheck Outside(const std::string& address, std::uint32_t pc, int prefixLength) {
  return {LanVerdict::OutsideNetwork, address + " is not on this PC's network " +
                                          DottedAddress(NetworkAddressOf(pc, prefixLength)) + "/" +
                                          std::to_string(prefixLength) +
                                          ". The box will still be found, but its shares and web pages will not "
                                          "be reachable from this PC."};
}

LanCheck Taken(const std::string& address) {
  return {LanVerdict::Taken, "Another device already answers at " + address + "."};
}

// A prefix that makes a network of several hosts: /31 and /32 addresses (point-to-point links) and
// an unknown prefix ask no network question.
bool HasNetwork(int prefixLength) { return prefixLength > 0 && prefixLength <= 30; }

bool IsAnyOf(std::uint32_t address, const std::vector<std::string>& addresses) {
  return std::any_of(addresses.begin(), addresses.end(),
                     [address](const std::string& text) { return AddressOfText(text) == address; });
}

}  // namespace

LanCheck CheckNewAddress(const LanCheckInput& input, const LanProbe& probe) {
  const std::optional<std::uint32_t> address = AddressOfText(input.newAddress);
  if (!address || input.linkAddresses.empty()) return {LanVerdict::ProbeFailed, {}};
  // The link address whose network holds the new address is its source on the link. When none does,
  // the first with a known network names it: ARP cannot reach an address off the link, and an echo
  // would go through a router to some other host.
  const PcAddress* source = nullptr;
  const PcAddress* namesNetwork = nullptr;
  for (const PcAddress& each : input.linkAddresses) {
    const std::optional<std::uint32_t> pc = AddressOfText(each.address);
    if (!pc || !HasNetwork(each.prefixLength)) continue;
    if (!namesNetwork) namesNetwork = &each;
    if (OnSameNetwork(*pc, each.prefixLength, *address)) {
      source = &each;
      break;
    }
  }
  if (!source && namesNetwork) {
    return Outside(input.newAddress, *AddressOfText(namesNetwork->address), namesNetwork->prefixLength);
  }
  if (!source) source = &input.linkAddresses.front();
  if (IsAnyOf(*address, input.boxAddresses)) return {};
  // The PC answers at each of its own addresses, though no probe of the link would show it.
  if (IsAnyOf(*address, input.pcAddresses) ||
      std::any_of(input.linkAddresses.begin(), input.linkAddresses.end(),
                  [&](const PcAddress& each) { return AddressOfText(each.address) == *address; })) {
    return Taken(input.newAddress);
  }
  if (!probe) return {LanVerdict::ProbeFailed, {}};
  switch (probe(input.newAddress, source->address)) {
    case platform::ProbeAnswer::Answered: return Taken(input.newAddress);
    case platform::ProbeAnswer::Silent: return {};
    case platform::ProbeAnswer::CannotProbe: break;
  }
  return {LanVerdict::ProbeFailed, {}};
}

std::string QuestionText(const LanCheck& check) { return check.statement + " Use this address anyway?"; }

LanCheckInput LanCheckInputFor(const DeviceProtocol& protocol, const DeviceRecord& box, std::string newAddress) {
  LanCheckInput input{std::move(newAddress), {}, {}, protocol.LocalAddresses()};
  const int found = box.interfaceIndex;
  input.linkAddresses.push_back({protocol.InterfaceAddress(found), protocol.InterfacePrefixLength(found)});
  const unsigned device = protocol.InterfaceSystemIndex(found);
  for (int i = 0; i < protocol.InterfaceCount(); ++i) {
    if (i == found || device == 0 || protocol.InterfaceSystemIndex(i) != device) continue;
    input.linkAddresses.push_back({protocol.InterfaceAddress(i), protocol.InterfacePrefixLength(i)});
  }
  for (const PortSettings& port : box.ports) {
    if (!port.ip.view().empty()) input.boxAddresses.push_back(port.ip.str());
  }
  return input;
}

}  // namespace quorvel
