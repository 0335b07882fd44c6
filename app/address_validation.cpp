#include "app/address_validation.h"

#include <algorithm>
#include <cstdio>

namespace quorvel {

namespace {

constexpr const char* kOrdinals[4] = {"1st", "2nd", "3rd", "4th"};

const char* KindWording(AddressKind kind) {
  switch (kind) {
    case AddressKind::Address: return "IP address";
    case AddressKind::Netmask: return "subnet mask address";
    case AddressKind::Gateway: return "gateway IP address";
  }
  return "";
}

// The range an octet must lie in. Only the first octet of a host address (address or gateway)
// is narrower: 0 is "this network", 224 and above are multicast and reserved.
bool FirstOctetIsHostClass(AddressKind kind) { return kind != AddressKind::Netmask; }

bool OctetPasses(AddressKind kind, int field, int value) {
  if (field == 0 && FirstOctetIsHostClass(kind)) return value >= 1 && value <= 223;
  return value >= 0 && value <= 255;
}

std::string OctetMessage(AddressKind kind, int field) {
  const char* range = field == 0 && FirstOctetIsHostClass(kind) ? "1-223" : "0-255";
  return std::string("Invalid ") + KindWording(kind) + " in " + kOrdinals[field] +
         " digit. It should be " + range + ".";
}

AddressEditor EditorOf(AddressKind kind) {
  switch (kind) {
    case AddressKind::Address: return AddressEditor::Ip;
    case AddressKind::Netmask: return AddressEditor::Netmask;
    case AddressKind::Gateway: return AddressEditor::Gateway;
  }
  return AddressEditor::Ip;
}

ValidationFailure Warning(std::string message) {
  return {std::move(message), "Warning", kIconWarning, std::nullopt, -1};
}

ValidationFailure Error(std::string message) {
  return {std::move(message), "Error", kIconError, std::nullopt, -1};
}

// An octet message goes out with the information icon and the caret in the failing field.
ValidationFailure OctetError(AddressKind kind, const OctetFailure& failure) {
  return {failure.message, "Error", kIconInformation, EditorOf(kind), failure.field};
}

// The one bits of a mask (its prefix length, for a valid one).
int PrefixOfMask(const Octets& mask) {
  int bits = 0;
  for (int octet : mask) {
    for (int bit = 7; bit >= 0; --bit) bits += (octet >> bit) & 1;
  }
  return bits;
}

bool AllZero(const Octets& octets) {
  return octets[0] == 0 && octets[1] == 0 && octets[2] == 0 && octets[3] == 0;
}

// A gateway that skipped its octet checks (behind a link-local address) must still be four
// bytes before it is written as text; only inputs wider than an editor field can fail here.
std::optional<OctetFailure> GatewayOutOfRange(const Octets& gateway) {
  for (int field = 0; field < 4; ++field) {
    if (gateway[field] < 0 || gateway[field] > 255) {
      return OctetFailure{OctetMessage(AddressKind::Gateway, field), field};
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<OctetFailure> CheckAddressOctets(AddressKind kind, const Octets& octets,
                                               bool blankEditor) {
  if (kind == AddressKind::Gateway && blankEditor) return std::nullopt;
  for (int field = 0; field < 4; ++field) {
    if (!OctetPasses(kind, field, octets[field])) return OctetFailure{OctetMessage(kind, field), field};
  }
  return std::nullopt;
}

bool IsValidNetmask(const Octets& mask) {
  if ((mask[0] & 0xFF) == 0) return false;
  bool seenZero = false;
  for (int octet : mask) {
    for (int bit = 7; bit >= 0; --bit) {
      const bool one = ((octet >> bit) & 1) != 0;
      if (one && seenZero) return false;
      if (!one) seenZero = true;
    }
  }
  return true;
}

bool IsLinkLocal(const Octets& address) { return address[0] == 169 && address[1] == 254; }

bool IsBadGateway(const Octets& address, const Octets& mask, const Octets& gateway) {
  if (IsLinkLocal(address)) return false;
  bool isNetwork = true;
  bool isBroadcast = true;
  bool outsideSubnet = false;
  for (int i = 0; i < 4; ++i) {
    if (gateway[i] != (address[i] & mask[i])) isNetwork = false;
    if (gateway[i] != (address[i] | (255 - mask[i]))) isBroadcast = false;
    if ((address[i] & mask[i]) != (gateway[i] & mask[i])) outsideSubnet = true;
  }
  return isNetwork || isBroadcast || outsideSubnet;
}

FailureKind NetworkOrBroadcast(const Octets& address, const Octets& mask) {
  if (PrefixOfMask(mask) > 30) return FailureKind::Other;
  bool hostZeros = true;
  bool hostOnes = true;
  for (int i = 0; i < 4; ++i) {
    const int host = address[i] & ~mask[i] & 0xFF;
    if (host != 0) hostZeros = false;
    if (host != (~mask[i] & 0xFF)) hostOnes = false;
  }
  if (hostZeros) return FailureKind::NetworkAddress;
  if (hostOnes) return FailureKind::BroadcastAddress;
  return FailureKind::Other;
}

std::string DottedText(const Octets& octets) {
  char text[64];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", octets[0], octets[1], octets[2], octets[3]);
  return text;
}

StaticSettingsCheck ValidateStaticSettings(const EditorContents& ip, const EditorContents& netmask,
                                           const EditorContents& gateway) {
  StaticSettingsCheck check;
  auto fail = [&check](ValidationFailure failure) {
    check.failure = std::move(failure);
    return check;
  };

  if (!ip) return fail(Warning("Please input IP address!"));
  if (!netmask) return fail(Warning("Please input net mask address!"));

  const Octets& a = *ip;
  if (a[0] == 127) return fail(Warning("IP address input error. Please try again."));
  if (auto bad = CheckAddressOctets(AddressKind::Address, a)) {
    return fail(OctetError(AddressKind::Address, *bad));
  }
  check.newIpText = DottedText(a);

  const Octets& m = *netmask;
  if (auto bad = CheckAddressOctets(AddressKind::Netmask, m)) {
    return fail(OctetError(AddressKind::Netmask, *bad));
  }
  check.newNetmaskText = DottedText(m);

  const Octets g = gateway.value_or(Octets{0, 0, 0, 0});
  if (!IsLinkLocal(a)) {
    if (auto bad = CheckAddressOctets(AddressKind::Gateway, g, !gateway.has_value())) {
      return fail(OctetError(AddressKind::Gateway, *bad));
    }
  }

  if (!IsValidNetmask(m)) return fail(Error("Netmask address input invalid. Please try again."));
  // A box given its network's own address or its broadcast address is off the network: refused as a
  // bad configuration, with the caret in the address's first octet that holds host bits.
  if (const FailureKind kind = NetworkOrBroadcast(a, m); kind != FailureKind::Other) {
    ValidationFailure failure = Error("You enter incorrect TCP/IP configuration. Please try again.");
    failure.kind = kind;
    failure.caretEditor = AddressEditor::Ip;
    failure.caretField = std::min(PrefixOfMask(m) / 8, 3);
    return fail(std::move(failure));
  }
  if (IsBadGateway(a, m, g)) {
    return fail(Error("You enter incorrect TCP/IP configuration. Please try again."));
  }
  if (auto bad = GatewayOutOfRange(g)) return fail(OctetError(AddressKind::Gateway, *bad));

  check.newGatewayText = AllZero(g) ? std::string() : DottedText(g);
  return check;
}

}  // namespace quorvel
