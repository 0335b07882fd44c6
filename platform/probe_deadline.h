// Runs a probe on a worker thread and waits for its answer no longer than a deadline: a system call
// that cannot be given a time limit of its own (SendARP) must not hold its caller past it.
#pragma once

#include <functional>

#include "platform/address_probe.h"

namespace quorvel::platform {

// The work's answer, or CannotProbe when it has not ended within timeoutMillis. The worker is left to
// end by itself then; the work must own whatever it touches.
ProbeAnswer AnswerWithin(std::function<ProbeAnswer()> work, int timeoutMillis);

}  // namespace quorvel::platform
