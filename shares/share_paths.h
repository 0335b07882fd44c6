// The UNC paths of a box's shares, the companion share of a volume, and the checks that the texts
// from a box (its address and its share names) must pass before they go into a path.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "services/box_address.h"

namespace quorvel {

// Beside each volume the box offers its companion share: this text followed by the volume name.
inline constexpr std::string_view kRecycleSharePrefix = "Recycle Bin - ";

// "Recycle Bin - " followed by the volume name.
std::string RecycleShareName(std::string_view volume);

// "\\address\share": the address is a checked one, the share must be a safe name.
std::string ShareUncPath(const BoxAddress& address, std::string_view share);

// A name that stays one share of its server in a UNC path, judged as the box sent it: well-formed
// UTF-8, not empty, not "." or "..", and without a backslash, a slash or a control character. Dots
// inside a name ("Backup..2024") climb nowhere.
bool IsSafeShareName(std::string_view name);

// The checked address, when the address is a plain dotted IPv4 address and the volume a safe share name
// (so its companion's name is one too); nothing otherwise.
std::optional<BoxAddress> MappableAddress(std::string_view address, std::string_view volume);

}  // namespace quorvel
