// The checks of a new static address against the PC's network before it is sent to a box: is it on the
// network of one of the PC's addresses on the link where the box was found, and does another device
// already answer at it. Pure rules; the probe that asks the link is handed in, so tests give their own.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/address_probe.h"
#include "protocol/device_protocol.h"

namespace quorvel {

// How long the check waits for a probe's answer; a later one counts as no answer to be had.
inline constexpr int kProbeTimeoutMillis = 1000;

// Host byte order: 24 -> 255.255.255.0. Lengths outside 0..32 are held to them.
std::uint32_t NetmaskOfPrefix(int prefixLength);
// The address AND the netmask of the prefix.
std::uint32_t NetworkAddressOf(std::uint32_t address, int prefixLength);
// Whether `other` lies in the network of `pcAddress`/prefixLength.
bool OnSameNetwork(std::uint32_t pcAddress, int prefixLength, std::uint32_t other);
// The address of a dotted text, host byte order; nothing when it is not an address.
std::optional<std::uint32_t> AddressOfText(std::string_view text);
std::string DottedAddress(std::uint32_t address);

// One address of the PC with its on-link prefix length; 0 when not known.
struct PcAddress {
  std::string address;
  int prefixLength = 0;
};

// What the check knows of the PC and the box.
struct LanCheckInput {
  std::string newAddress;  // dotted text of the address to send
  // The PC's addresses on the link where the box was found: first the one through which it was found,
  // then the others on the same device. A prefix of 0, 31 or 32 asks no network question.
  std::vector<PcAddress> linkAddresses;
  std::vector<std::string> boxAddresses;  // the box's current port addresses, as its record reports them
  std::vector<std::string> pcAddresses;   // every other address of the PC, whatever its link
};

enum class LanVerdict {
  Clear,           // send without a word
  OutsideNetwork,  // ask: the address is not on the PC's network (no probe made)
  Taken,           // ask: another device answers at it
  ProbeFailed,     // send: whether it is taken could not be found out
};

struct LanCheck {
  LanVerdict verdict = LanVerdict::Clear;
  std::string statement;  // what the question says before "Use this address anyway?"; empty unless asked

  bool asks() const { return verdict == LanVerdict::OutsideNetwork || verdict == LanVerdict::Taken; }
};

using LanProbe = std::function<platform::ProbeAnswer(const std::string& address, const std::string& localAddress)>;

// The rule: the link address whose network holds the new address decides; an address that none of
// them holds is asked about without a probe; one of the box's own current addresses is clear without
// a probe; any address of the PC is taken; any other is probed from the deciding link address.
LanCheck CheckNewAddress(const LanCheckInput& input, const LanProbe& probe);

// The statement with its question, as the settings panel asks it.
std::string QuestionText(const LanCheck& check);

// The input for the box with this record: the PC's addresses on the device of the interface it was
// found on (that interface's first), and every address that the system lists.
LanCheckInput LanCheckInputFor(const DeviceProtocol& protocol, const DeviceRecord& box, std::string newAddress);

}  // namespace quorvel
