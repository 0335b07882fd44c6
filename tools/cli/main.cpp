// quorvel-cli: finds storage boxes and sends them commands from the command line.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/lan_check.h"
#include "cli_commands.h"
#include "doctor_probe.h"
#include "multicast_transport.h"
#include "password_input.h"
#include "platform/system_address_probe.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  quorvel::SystemClock clock;
  const quorvel::cli::CliEnvironment env{
      std::cout, std::cerr, quorvel::cli::ReadPasswordFromStdin, [&clock] {
        return std::make_unique<quorvel::DeviceProtocol>(std::make_unique<quorvel::MulticastTransport>(), clock);
      },
      [&clock] { return quorvel::cli::ExamineNetwork(clock); },
      [](const std::string& address, const std::string& localAddress) {
        return quorvel::platform::SystemAddressProbe().Probe(address, localAddress, quorvel::kProbeTimeoutMillis);
      }};
  return quorvel::cli::RunCli(args, env);
}
