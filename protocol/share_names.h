// The share names of a box: colon-separated in the first field of its reply, kept once each.
#pragma once

#include <vector>

#include "fixed_text.h"
#include "packet.h"

namespace quorvel {

using ShareName = FixedText<256>;

// Appends the names of the reply's first field that are not yet in the list, in order.
// Empty pieces are skipped; a name longer than 255 bytes is dropped, since a cut name would
// name another share.
void AppendShareNames(Bytes reply, std::vector<ShareName>& names);

}  // namespace quorvel
