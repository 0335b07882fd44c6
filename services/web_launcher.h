// Opening a box's web pages in the PC's default web browser, found through the registry; when the
// browser cannot be started, the shell opens the address instead.
#pragma once

#include <string_view>

#include "platform/processes.h"
#include "services/box_address.h"
#include "platform/registry.h"

namespace quorvel {

// Starts the default browser's registered command, or "explorer" for a client whose name holds "IE",
// on the scheme that the HTTPS flag text chooses followed by the address. A start that finds no
// program to run is tried once more through "explorer"; other failures are let be, silently.
void OpenWebPages(platform::Registry& registry, platform::Processes& processes, const BoxAddress& address,
                  std::string_view httpsFlagText);

}  // namespace quorvel
