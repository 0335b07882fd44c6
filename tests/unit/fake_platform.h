// Every platform seam as a fake, and the Platform that hands them out: what a test of the console builds
// the main window with. The clock is the test's; Platform's clock lets held reachability answers in as the
// console sleeps, as a worker's answer would.
#pragma once

#include "platform/fake/fake_address_probe.h"
#include "platform/fake/fake_drives.h"
#include "platform/fake/fake_files.h"
#include "platform/fake/fake_network_drives.h"
#include "platform/fake/fake_os_info.h"
#include "platform/fake/fake_payloads.h"
#include "platform/fake/fake_processes.h"
#include "platform/fake/fake_reachability.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/latin1_text_codec.h"
#include "platform/platform.h"

namespace quorvel::platform {

struct FakePlatform {
  explicit FakePlatform(Clock& testClock) : reachability(testClock), clock(testClock, reachability) {}
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;

  FakeDrives drives;
  FakeOsInfo os;
  Latin1TextCodec text;
  FakeRegistry registry;
  FakeProcesses processes;
  FakeReachability reachability;
  AnsweringClock clock;
  FakeNetworkDrives networkDrives{drives};
  FakeFiles files;
  FakePayloads payloads;
  FakeAddressProbe addressProbe;
  Platform platform{drives,        clock, os,       text,        registry, processes,
                    reachability, networkDrives, files, payloads, addressProbe};
};

}  // namespace quorvel::platform
