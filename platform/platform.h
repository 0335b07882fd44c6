// Everything the console asks of the operating system, one seam each. The product passes the
// win32 implementations; tests pass fakes.
#pragma once

#include "clock.h"
#include "drives.h"

namespace quorvel::platform {

struct Platform {
  Drives& drives;
  Clock& clock;
};

}  // namespace quorvel::platform
