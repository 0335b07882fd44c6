// Everything the console asks of the operating system, one seam each. The product passes the
// win32 implementations; tests pass fakes.
#pragma once

#include "address_probe.h"
#include "clock.h"
#include "drives.h"
#include "files.h"
#include "network_drives.h"
#include "os_info.h"
#include "payloads.h"
#include "processes.h"
#include "reachability.h"
#include "registry.h"
#include "text_codec.h"

namespace quorvel::platform {

struct Platform {
  Drives& drives;
  Clock& clock;
  OsInfo& os;
  TextCodec& text;
  Registry& registry;
  Processes& processes;
  Reachability& reachability;
  NetworkDrives& networkDrives;
  Files& files;
  Payloads& payloads;
  AddressProbe& addressProbe;
};

}  // namespace quorvel::platform
