// The checks that the settings panel makes on a static address, netmask and gateway before it
// sends them to a box. Pure functions: the panel (and any other input, such as the command line)
// reads its editors, calls these, and shows the failure that comes back.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace quorvel {

// The four fields of an address editor, first to fourth. Ints, so that inputs that are not
// one-byte editor fields can carry values out of range and still reach the octet checks.
using Octets = std::array<int, 4>;

// What one address editor holds: nothing (blank: all four fields empty) or four octets.
// A field left empty in an editor that is not blank reads as 0.
using EditorContents = std::optional<Octets>;

enum class AddressKind { Address, Netmask, Gateway };

// The editors of the settings panel.
enum class AddressEditor { Ip, Netmask, Gateway };

// Message box icons, as the message box takes them.
inline constexpr int kIconError = 16;
inline constexpr int kIconWarning = 48;
inline constexpr int kIconInformation = 64;

// An octet that failed its check: the message and the field (0 to 3) that gets the caret.
struct OctetFailure {
  std::string message;
  int field = 0;
};

// Tests the octets from the first to the fourth and returns the first that fails, or nothing.
// For the gateway kind, a blank Gateway editor passes at once.
std::optional<OctetFailure> CheckAddressOctets(AddressKind kind, const Octets& octets,
                                               bool blankEditor = false);

// Contiguous ones from the most significant bit of the first octet, then only zeros, and the
// first octet not 0. Each octet is taken as its low eight bits.
bool IsValidNetmask(const Octets& mask);

// True when the gateway is the network or broadcast address of the address's subnet or lies
// outside that subnet. Never for a link-local address (169.254.x.x), which needs no gateway.
bool IsBadGateway(const Octets& address, const Octets& mask, const Octets& gateway);

bool IsLinkLocal(const Octets& address);

// "%d.%d.%d.%d" of the four octets.
std::string DottedText(const Octets& octets);

// What a failure is about where a caller words it in its own way (the command line); Other for
// every failure that has only the panel's message.
enum class FailureKind {
  Other,
  NetworkAddress,    // the address is its network's own address (host part all zeros)
  BroadcastAddress,  // the address is its network's broadcast address (host part all ones)
};

// The first failed check, as the panel reports it.
struct ValidationFailure {
  std::string message;
  std::string caption;  // "Warning" or "Error"
  int icon = kIconError;
  std::optional<AddressEditor> caretEditor;  // the editor whose field gets the caret, if any
  int caretField = -1;                       // 0 to 3 when caretEditor is set
  FailureKind kind = FailureKind::Other;
};

// Whether the address is the network or the broadcast address of its network under a valid mask;
// Other when it is neither, and for masks of 31 or 32 bits, whose addresses are all hosts.
FailureKind NetworkOrBroadcast(const Octets& address, const Octets& mask);

// The outcome of the static checks. The three texts are set as the checks write them: the
// address text once the address has passed its octet checks, the netmask text once the netmask
// has, the gateway text only when every check passed. So a failure after the octet checks still
// carries the address and netmask texts, which the panel has already taken over by then.
struct StaticSettingsCheck {
  std::optional<ValidationFailure> failure;
  std::optional<std::string> newIpText;
  std::optional<std::string> newNetmaskText;
  std::optional<std::string> newGatewayText;  // empty text when the gateway is 0.0.0.0 or blank

  bool passed() const { return !failure.has_value(); }
};

// The Apply checks of a static configuration, in order; the first failure ends them.
// The gateway text is the gateway's own dotted text, whichever port is being changed.
StaticSettingsCheck ValidateStaticSettings(const EditorContents& ip, const EditorContents& netmask,
                                           const EditorContents& gateway);

}  // namespace quorvel
