// The commands of quorvel-cli, run against a device protocol that the caller provides, so that
// tests can run them over an in-memory transport.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "device_protocol.h"
#include "platform/address_probe.h"
#include "doctor_report.h"

namespace quorvel::cli {

enum ExitCode : int {
  kExitDone = 0,      // done, or the box accepted
  kExitRefused = 1,   // the box refused or did not answer, the doctor found no box to list; or the
                      // sockets could not start
  kExitUsage = 2,     // bad usage or invalid input
  kExitNotFound = 3,  // no box of the search matches --device
  kExitNotSent = 4,   // not sent by a safety check (an address taken or outside the PC's network)
};

struct CliEnvironment {
  std::ostream& out;
  std::ostream& err;
  // Asked once, before the search, by every command that sends credentials.
  std::function<std::string()> readPassword;
  // Asked only when a command is about to search.
  std::function<std::unique_ptr<DeviceProtocol>()> makeProtocol;
  // The doctor's look at the network; nothing when the socket library cannot start.
  std::function<std::optional<DoctorFindings>()> examineNetwork;
  // Asks the link whether a device answers at an address (set-network's safety check).
  std::function<platform::ProbeAnswer(const std::string& address, const std::string& localAddress)> probeAddress;
};

// Runs the command named by the arguments after the program name; returns the exit code.
int RunCli(const std::vector<std::string>& args, const CliEnvironment& env);

}  // namespace quorvel::cli
