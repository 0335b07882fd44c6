#include "cli_args.h"

#include <algorithm>
#include <map>

namespace quorvel::cli {

namespace {

// The widest user name the request context holds (64 bytes with the terminator).
constexpr std::size_t kMaxUserBytes = 63;

// Octet values beyond 255 all fail alike; holding them here keeps the arithmetic in range.
constexpr int kOctetCeiling = 1'000'000;

struct NamedCommand {
  std::string_view text;
  Command command;
};

constexpr NamedCommand kCommands[] = {
    {"search", Command::Search},
    {"check-password", Command::CheckPassword},
    {"shares", Command::Shares},
    {"set-network", Command::SetNetwork},
    {"doctor", Command::Doctor},
};

constexpr std::string_view kPorts[] = {"LAN", "LAN1", "LAN2", "LAN1+LAN2"};

std::optional<Command> CommandByName(std::string_view text) {
  for (const NamedCommand& each : kCommands) {
    if (each.text == text) return each.command;
  }
  return std::nullopt;
}

bool IsHelp(std::string_view arg) { return arg == "--help" || arg == "-h"; }

bool IsVersion(std::string_view arg) { return arg == "--version"; }

bool IsFlag(std::string_view option) { return option == "json" || option == "dhcp" || option == "force"; }

bool Accepts(Command command, std::string_view option) {
  switch (command) {
    case Command::Search:
    case Command::Doctor:
      return option == "json";
    case Command::CheckPassword:
      return option == "device" || option == "user";
    case Command::Shares:
      return option == "device" || option == "user" || option == "json";
    case Command::SetNetwork:
      return option == "device" || option == "user" || option == "port" || option == "dhcp" ||
             option == "ip" || option == "netmask" || option == "gateway" || option == "force";
  }
  return false;
}

ParsedArgs BadUsage(std::optional<Command> command, std::string message) {
  ParsedArgs parsed;
  parsed.outcome = ParsedArgs::Outcome::BadUsage;
  parsed.command = command;
  parsed.message = std::move(message);
  return parsed;
}

using OptionValues = std::map<std::string, std::string, std::less<>>;

// Collects "--name value", "--name=value" and "--flag"; the first problem is returned as text.
std::optional<std::string> CollectOptions(Command command, const std::vector<std::string>& args,
                                          OptionValues& values) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg.substr(0, 2) != "--" || arg.size() == 2) return "unexpected argument '" + args[i] + "'";
    const std::size_t equals = arg.find('=');
    const std::string name(arg.substr(2, equals == std::string_view::npos ? arg.npos : equals - 2));
    if (!Accepts(command, name)) return "unknown option '--" + name + "'";
    if (values.count(name) != 0) return "option '--" + name + "' given twice";
    if (IsFlag(name)) {
      if (equals != std::string_view::npos) return "option '--" + name + "' takes no value";
      values[name] = "";
    } else if (equals != std::string_view::npos) {
      values[name] = std::string(arg.substr(equals + 1));
    } else if (i + 1 < args.size()) {
      values[name] = args[++i];
    } else {
      return "option '--" + name + "' needs a value";
    }
  }
  return std::nullopt;
}

// An address option: empty reads as a blank editor, anything else must be four numbers.
std::optional<std::string> ReadAddress(const OptionValues& values, const std::string& name,
                                       EditorContents& contents) {
  const auto it = values.find(name);
  if (it == values.end() || it->second.empty()) return std::nullopt;
  contents = ParseOctets(it->second);
  if (!contents) return "--" + name + " '" + it->second + "' is not four dot-separated decimal numbers";
  return std::nullopt;
}

std::optional<std::string> ReadSettings(const OptionValues& values, CliOptions& options) {
  const auto port = values.find("port");
  if (port == values.end()) return std::string("missing --port");
  options.port = port->second;
  bool known = false;
  for (std::string_view each : kPorts) known = known || each == options.port;
  if (!known) return std::string("--port must be LAN, LAN1, LAN2 or LAN1+LAN2");

  options.dhcp = values.count("dhcp") != 0;
  options.force = values.count("force") != 0;
  const bool anyAddress = values.count("ip") + values.count("netmask") + values.count("gateway") != 0;
  if (options.dhcp) {
    if (anyAddress) return std::string("--dhcp cannot be combined with --ip, --netmask or --gateway");
    return std::nullopt;
  }
  if (values.count("ip") == 0) return std::string("missing --ip (or --dhcp)");
  if (values.count("netmask") == 0) return std::string("missing --netmask");
  if (auto problem = ReadAddress(values, "ip", options.ip)) return problem;
  if (auto problem = ReadAddress(values, "netmask", options.netmask)) return problem;
  return ReadAddress(values, "gateway", options.gateway);
}

std::optional<std::string> ReadTarget(const OptionValues& values, CliOptions& options) {
  const auto device = values.find("device");
  if (device == values.end()) return std::string("missing --device");
  if (device->second.empty()) return std::string("--device must not be empty");
  options.device = device->second;
  const auto user = values.find("user");
  if (user == values.end()) return std::string("missing --user");
  if (user->second.size() > kMaxUserBytes) return std::string("--user is longer than 63 bytes");
  options.user = user->second;
  return std::nullopt;
}

}  // namespace

std::optional<Octets> ParseOctets(std::string_view text) {
  Octets octets{};
  int field = 0;
  std::size_t digits = 0;
  long long value = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const bool end = i == text.size();
    if (end || text[i] == '.') {
      if (digits == 0 || field > 3) return std::nullopt;
      octets[field++] = static_cast<int>(value);
      digits = 0;
      value = 0;
    } else if (text[i] >= '0' && text[i] <= '9') {
      ++digits;
      value = std::min<long long>(value * 10 + (text[i] - '0'), kOctetCeiling);
    } else {
      return std::nullopt;
    }
  }
  if (field != 4) return std::nullopt;
  return octets;
}

bool TalksToOneBox(Command command) { return command != Command::Search && command != Command::Doctor; }

std::string_view CommandName(Command command) {
  for (const NamedCommand& each : kCommands) {
    if (each.command == command) return each.text;
  }
  return {};
}

ParsedArgs ParseArguments(const std::vector<std::string>& args) {
  if (args.empty()) return BadUsage(std::nullopt, "missing command");
  ParsedArgs parsed;
  if (IsHelp(args[0])) {
    parsed.outcome = ParsedArgs::Outcome::Help;
    return parsed;
  }
  if (IsVersion(args[0])) {
    parsed.outcome = ParsedArgs::Outcome::Version;
    return parsed;
  }
  const std::optional<Command> command = CommandByName(args[0]);
  if (!command) return BadUsage(std::nullopt, "unknown command '" + args[0] + "'");
  parsed.command = command;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (IsHelp(args[i])) {
      parsed.outcome = ParsedArgs::Outcome::Help;
      return parsed;
    }
  }

  OptionValues values;
  if (auto problem = CollectOptions(*command, args, values)) return BadUsage(command, *problem);
  CliOptions& options = parsed.options;
  options.command = *command;
  options.json = values.count("json") != 0;
  if (TalksToOneBox(*command)) {
    if (auto problem = ReadTarget(values, options)) return BadUsage(command, *problem);
  }
  if (*command == Command::SetNetwork) {
    if (auto problem = ReadSettings(values, options)) return BadUsage(command, *problem);
  }
  parsed.outcome = ParsedArgs::Outcome::Run;
  return parsed;
}

}  // namespace quorvel::cli
