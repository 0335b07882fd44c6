// The command line of quorvel-cli: which command, with which options. Parsing only; nothing here
// touches the network.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/address_validation.h"

namespace quorvel::cli {

enum class Command { Search, CheckPassword, Shares, SetNetwork, Doctor };

struct CliOptions {
  Command command = Command::Search;
  bool json = false;
  std::string device;  // key text, name or port address of a box
  std::string user;
  std::string port;  // "LAN", "LAN1", "LAN2" or "LAN1+LAN2"
  bool dhcp = false;
  bool force = false;  // send a static address that the safety checks would hold back
  // Static settings, as the three editors would hold them: an option absent or given empty
  // reads as a blank editor (set-network requires --ip and --netmask to be present).
  EditorContents ip;
  EditorContents netmask;
  EditorContents gateway;
};

struct ParsedArgs {
  enum class Outcome { Run, Help, Version, BadUsage };
  Outcome outcome = Outcome::BadUsage;
  std::optional<Command> command;  // known once the first argument named one
  CliOptions options;              // complete when outcome is Run
  std::string message;             // why the usage is bad
};

// Parses the arguments after the program name.
ParsedArgs ParseArguments(const std::vector<std::string>& args);

// Four dot-separated decimal numbers, each of one or more ASCII digits. Numbers above 255 are
// kept (held at a large ceiling) so that the octet checks report them.
std::optional<Octets> ParseOctets(std::string_view text);

// Whether the command names one box (--device, --user) and reads a password.
bool TalksToOneBox(Command command);

// The command's name on the command line.
std::string_view CommandName(Command command);

// The usage text of one command, or of the program when no command is given.
std::string UsageText(std::optional<Command> command);

// The answer to --version: the program's name and version on one line.
std::string VersionText();

}  // namespace quorvel::cli
