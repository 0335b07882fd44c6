// The guard that keeps the boxes' multicast on this machine: the simulator runs only inside a
// network namespace that the lab created.
#pragma once

#include <string>
#include <string_view>

namespace quorvel::boxsim {

inline constexpr const char* kNetnsDirectory = "/var/run/netns";
inline constexpr std::string_view kLabNamespacePrefix = "qvlab-";

// True when this process's network namespace is one of the named namespaces in `directory` whose
// name starts with `prefix` (same device and inode as /proc/self/ns/net).
bool InsideLabNamespace(const std::string& directory = kNetnsDirectory,
                        std::string_view prefix = kLabNamespacePrefix);

}  // namespace quorvel::boxsim
