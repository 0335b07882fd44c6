// Dotted IPv4 texts as the address editors take them, read the way the socket library's inet_addr
// reads them, so that the editors show the same address on every platform.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "app/address_validation.h"

namespace quorvel {

// The numbers-and-dots forms "a.b.c.d", "a.b.c" (c fills 16 bits), "a.b" (b fills 24 bits) and "a"
// (32 bits), each part decimal, octal with a leading 0 or hexadecimal with 0x; whitespace may end
// the text. The address's octets from the first, or nothing when the text is not such an address.
std::optional<Octets> ParseInetAddress(std::string_view text);

// What an address editor shows for a text: its octets, or 255.255.255.255 (inet_addr's
// INADDR_NONE) when the text does not parse.
Octets EditorAddressOf(std::string_view text);

// The Gateway editor shows nothing (blank) for an empty text and for one that reads 0.0.0.0.
std::optional<Octets> GatewayEditorAddressOf(std::string_view text);

}  // namespace quorvel
