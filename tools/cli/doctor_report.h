// What `quorvel-cli doctor` found out about the local addresses, and what it makes of it: the
// verdict and the plain-text report. Nothing here touches the network.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "local_address.h"
#include "search_stats.h"
#include "socket_api.h"

namespace quorvel::cli {

// One local address: the system's view, whether the transport keeps it and, for an address that
// was searched, its receive socket, the port and the search figures.
struct AddressFindings {
  net::LocalAddress local;
  std::optional<net::SkipReason> skipped;  // nothing: kept
  bool searched = false;
  net::ReceiverSteps steps;
  bool portShared = false;  // another program holds the port there too
  SearchStats stats;
};

struct DoctorFindings {
  std::vector<AddressFindings> addresses;  // in the system's order
};

// Whether the doctor searches an address: every kept one, and every other one that is up and not
// loopback (for the report only; nothing else searches those).
bool ShouldSearch(const std::optional<net::SkipReason>& skipped);

// "down", "loopback" or "beyond the first 8 addresses".
std::string SkipReasonText(net::SkipReason reason);

// The boxes that the main window would list: those found through kept addresses.
int ListedBoxes(const DoctorFindings& findings);

// One or two plain sentences: where the boxes are, or why none is found and what to check.
std::string Verdict(const DoctorFindings& findings);

// The report for a terminal: addresses, sockets, search figures and the verdict.
std::string DoctorText(const DoctorFindings& findings);

}  // namespace quorvel::cli
