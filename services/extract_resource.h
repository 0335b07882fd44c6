// Writes one embedded payload to a file on the box (or, through a local staging file, copies it there) and
// checks that the file is there afterwards.
#pragma once

#include <string_view>

#include "services/service_state.h"

namespace quorvel {

inline constexpr int kConnectAttempts = 6;
inline constexpr std::size_t kRemoteNameBytes = 256;  // the connection's remote name buffer

// Writes the payload (type, id) to writePath. A writePath under "C:\\" is a local staging file: it is then
// copied to finalPath (an older file there is deleted first) and removed, and finalPath is tested. True,
// with LastCopyFailed 0, when the payload was written (and copied) and the tested file exists; false, with
// LastCopyFailed 1, otherwise. A payload missing from the program writes nothing and fails.
bool ExtractResourceToFile(ServiceContext& context, std::string_view type, int id, std::string_view writePath,
                           std::string_view finalPath);

}  // namespace quorvel
