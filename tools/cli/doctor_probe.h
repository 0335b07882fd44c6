// The doctor's look at this PC's network, on real sockets: the local addresses, the receive
// sockets and the port, and one search on every address that is up and not loopback.
#pragma once

#include <optional>

#include "clock.h"
#include "doctor_report.h"

namespace quorvel::cli {

// Nothing when the socket library cannot be started.
std::optional<DoctorFindings> ExamineNetwork(Clock& clock);

}  // namespace quorvel::cli
