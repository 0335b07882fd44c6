// The address probe of the system the program runs on (built from win32/ or posix/).
#pragma once

#include "platform/address_probe.h"

namespace quorvel::platform {

AddressProbe& SystemAddressProbe();

}  // namespace quorvel::platform
