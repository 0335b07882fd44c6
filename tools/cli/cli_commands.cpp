#include "cli_commands.h"

#include "cli_args.h"
#include "device_match.h"
#include "doctor_report.h"
#include "app/lan_check.h"
#include "json_output.h"
#include "table_output.h"
#include "utf8_text.h"

namespace quorvel::cli {

namespace {

constexpr std::size_t kMaxPasswordBytes = 63;  // the request context's 64 bytes with terminator

std::vector<std::string> InterfaceAddresses(const DeviceProtocol& protocol) {
  std::vector<std::string> addresses;
  for (int i = 0; i < protocol.InterfaceCount(); ++i) addresses.push_back(protocol.InterfaceAddress(i));
  return addresses;
}

int ReportUsage(const ParsedArgs& parsed, std::ostream& err) {
  err << "quorvel-cli: " << parsed.message << '\n';
  err << "Try 'quorvel-cli" << (parsed.command ? " " : "")
      << (parsed.command ? CommandName(*parsed.command) : "") << " --help'.\n";
  return kExitUsage;
}

int Search(DeviceProtocol& protocol, const CliOptions& options, std::ostream& out) {
  const auto addresses = InterfaceAddresses(protocol);
  out << (options.json ? DevicesJson(protocol.DeviceTable(), addresses)
                       : DeviceTableText(protocol.DeviceTable(), addresses));
  return kExitDone;
}

int Shares(DeviceProtocol& protocol, const CliOptions& options, const CliEnvironment& env) {
  if (!protocol.FetchShareNames()) {
    env.err << "quorvel-cli: no answer from the device\n";
    return kExitRefused;
  }
  // The box answers a refused request with its status and no names; only status 1 is an acceptance.
  if (protocol.ShareNamesStatus() != 1) {
    env.err << "Share names refused.\n";
    return kExitRefused;
  }
  env.out << (options.json ? SharesJson(protocol.ShareNameList()) : ShareLines(protocol.ShareNameList()));
  return kExitDone;
}

// Exit 0 when the main window would list a box, else 1.
int Doctor(const CliOptions& options, const CliEnvironment& env) {
  const std::optional<DoctorFindings> findings = env.examineNetwork();
  if (!findings) {
    env.err << "quorvel-cli: the socket library could not be started\n";
    return kExitRefused;
  }
  env.out << (options.json ? DoctorJson(*findings) : DoctorText(*findings));
  return ListedBoxes(*findings) > 0 ? kExitDone : kExitRefused;
}

int Report(bool accepted, const char* yes, const char* no, const CliEnvironment& env) {
  if (accepted) {
    env.out << yes << '\n';
    return kExitDone;
  }
  env.err << no << '\n';
  return kExitRefused;
}

// The panel's message, or for an address that is its network's own or broadcast address a sentence
// that names the network: "198.51.100.0 is the network address of 198.51.100.0/24."
std::string FailureText(const ValidationFailure& failure, const StaticSettingsCheck& check) {
  if (failure.kind == FailureKind::Other || !check.newIpText || !check.newNetmaskText) return failure.message;
  const std::optional<std::uint32_t> address = AddressOfText(*check.newIpText);
  const std::optional<std::uint32_t> mask = AddressOfText(*check.newNetmaskText);
  if (!address || !mask) return failure.message;
  const int prefix = net::PrefixLengthOfNetmask(*mask);
  return *check.newIpText + " is the " + (failure.kind == FailureKind::NetworkAddress ? "network" : "broadcast") +
         " address of " + DottedAddress(NetworkAddressOf(*address, prefix)) + "/" + std::to_string(prefix) + ".";
}

// The settings panel's questions, answered No unless --force: false when the address is held back.
bool PassesLanCheck(const DeviceProtocol& protocol, const DeviceRecord& box, const std::string& address,
                    const CliEnvironment& env) {
  const LanCheck check = CheckNewAddress(LanCheckInputFor(protocol, box, address), env.probeAddress);
  if (check.asks()) {
    env.err << check.statement << " Not sent: use --force to send it anyway.\n";
    return false;
  }
  if (check.verdict == LanVerdict::ProbeFailed) {
    env.err << "quorvel-cli: warning: could not find out whether another device answers at " << address
            << "; sending.\n";
  }
  return true;
}

// A DHCP request carries empty address texts: the box takes its address from a DHCP server.
int SetNetwork(DeviceProtocol& protocol, const DeviceRecord& box, const CliOptions& options,
               const StaticSettingsCheck& check, const CliEnvironment& env) {
  CommandContext& context = protocol.context();
  context.SelectedPortText = options.port;
  context.NewIpText = check.newIpText.value_or("");
  context.NewNetmaskText = check.newNetmaskText.value_or("");
  context.NewGatewayText = check.newGatewayText.value_or("");
  if (options.dhcp) {
    return Report(protocol.SetNetworkSettings(true), "DHCP client enabled.", "Set to dhcp client fail.", env);
  }
  if (!options.force && !PassesLanCheck(protocol, box, context.NewIpText.str(), env)) return kExitNotSent;
  return Report(protocol.SetNetworkSettings(false), "Network settings accepted.",
                "Network settings refused or no answer.", env);
}

int RunOnDevice(DeviceProtocol& protocol, const CliOptions& options, const std::string& password,
                const StaticSettingsCheck& check, const CliEnvironment& env) {
  const DeviceRecord* record = FindDeviceByText(protocol.DeviceTable(), options.device);
  if (!record) {
    env.err << "quorvel-cli: no device matches '" << PrintableText(options.device) << "'\n";
    return kExitNotFound;
  }
  CommandContext& context = protocol.context();
  context.SelectedDeviceId = record->id;
  context.UserName = options.user;
  context.Password = password;
  switch (options.command) {
    case Command::CheckPassword:
      return Report(protocol.CheckPassword(), "Password accepted.", "Password refused or no answer.", env);
    case Command::Shares:
      return Shares(protocol, options, env);
    case Command::SetNetwork:
      return SetNetwork(protocol, *record, options, check, env);
    case Command::Search:
    case Command::Doctor:
      break;
  }
  return kExitUsage;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, const CliEnvironment& env) {
  const ParsedArgs parsed = ParseArguments(args);
  if (parsed.outcome == ParsedArgs::Outcome::Help) {
    env.out << UsageText(parsed.command);
    return kExitDone;
  }
  if (parsed.outcome == ParsedArgs::Outcome::Version) {
    env.out << VersionText();
    return kExitDone;
  }
  if (parsed.outcome == ParsedArgs::Outcome::BadUsage) return ReportUsage(parsed, env.err);
  const CliOptions& options = parsed.options;
  if (options.command == Command::Doctor) return Doctor(options, env);

  // Static settings are checked before anything is sent, as the settings panel does at Apply.
  StaticSettingsCheck check;
  if (options.command == Command::SetNetwork && !options.dhcp) {
    check = ValidateStaticSettings(options.ip, options.netmask, options.gateway);
    if (!check.passed()) {
      env.err << FailureText(*check.failure, check) << '\n';
      return kExitUsage;
    }
  }

  std::string password;
  if (TalksToOneBox(options.command)) {
    password = env.readPassword();
    if (password.size() > kMaxPasswordBytes) {
      env.err << "quorvel-cli: the password is longer than 63 bytes\n";
      return kExitUsage;
    }
  }

  const std::unique_ptr<DeviceProtocol> protocol = env.makeProtocol();
  if (!protocol->NetStartup()) {
    env.err << "quorvel-cli: the socket library could not be started\n";
    return kExitRefused;
  }
  protocol->SearchDevices();
  if (options.command == Command::Search) return Search(*protocol, options, env.out);
  return RunOnDevice(*protocol, options, password, check, env);
}

}  // namespace quorvel::cli
