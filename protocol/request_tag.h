// The tag that every request carries in its eight ClientId bytes.
//
// What this program relies on: a box echoes the tag of the request it answers and keeps no state
// by it. So every datagram sent carries a fresh tag, and a reply whose tag is not that of the
// request now waiting is the answer to something else (an earlier request of this program that
// was answered late, or another program's), whenever it arrives.
#pragma once

#include "device_types.h"

namespace quorvel {

// Eight bytes from the system's cryptographic generator, new on every call; where the system's
// generator fails, CountedRequestTag's.
ClientId NewRequestTag();

// A tag that differs from every other this process makes, drawn without the system's generator; it
// cannot fail.
ClientId CountedRequestTag();

}  // namespace quorvel
