// Reading the user name and password out of a request's 128-byte credential block.
#pragma once

#include <string>
#include <string_view>

#include "packet.h"

namespace quorvel::boxsim {

// Standard Base64 ("=" padding). Decoding ends at the first "=" or at the first character outside
// the alphabet; a dangling single character of a group gives no byte.
std::string Base64Decode(std::string_view code);

// One 64-byte slot of the credential block: its text up to the first NUL (all 64 bytes when the
// code fills the slot), decoded.
std::string DecodeCredentialSlot(Bytes slot);

}  // namespace quorvel::boxsim
