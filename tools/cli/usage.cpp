// The help texts of quorvel-cli.
#include "cli_args.h"
#include "constants.h"
#include "quorvel_version.h"

namespace quorvel::cli {

namespace {

constexpr const char* kProgramUsage =
    "Usage: quorvel-cli COMMAND [OPTIONS]\n"
    "\n"
    "Finds storage boxes on the local networks and sends them commands.\n"
    "\n"
    "Commands:\n"
    "  search          list the boxes that answer a search\n"
    "  check-password  ask a box whether it accepts a user name and password\n"
    "  shares          list the share names of a box\n"
    "  set-network     give a LAN port of a box a static address or make it a DHCP client\n"
    "  doctor          tell why a box is or is not found\n"
    "\n"
    "Every command but search and doctor reads the password as one line from standard input.\n"
    "quorvel-cli COMMAND --help shows the options of a command.\n"
    "quorvel-cli --version prints the version.\n"
    "\n"
    "Exit status: 0 done or accepted, 1 refused or no answer (doctor: no box found), 2 bad usage\n"
    "or invalid input, 3 device not found, 4 not sent by a safety check (set-network).\n";

constexpr const char* kDeviceHelp =
    "  --device D    the box: its key text (0x00,0x1B,...), its name or the address of one of\n"
    "                its ports; the first box of the search that matches is taken\n"
    "  --user U      the user name sent with the password\n";

constexpr const char* kSearchUsage =
    "Usage: quorvel-cli search [--json]\n"
    "\n"
    "Searches every local interface once and lists the boxes in the order they answered.\n"
    "\n"
    "  --json        print one JSON array with an object per box\n";

// The port, the group and the count of searched addresses come from the protocol's constants.
std::string DoctorUsage() {
  const std::string port = std::to_string(DEVICE_PORT);
  const std::string first = "the first " + std::to_string(MAX_INTERFACES);
  return "Usage: quorvel-cli doctor [--json]\n"
         "\n"
         "Tells why a box is or is not found:\n"
         "  - the local IPv4 addresses in the system's order, with the interface's name, up or down,\n"
         "    loopback, and whether they are searched: " + first + " that are up and not loopback are\n"
         "    kept, the others skipped (down, loopback, beyond " + first + " addresses);\n"
         "  - for each address searched, whether its receive socket opened, bound port " + port + " and\n"
         "    joined group " + DEVICE_GROUP + " (with the system's error text if not), and whether another\n"
         "    program holds port " + port + " too (allowed);\n"
         "  - one search on the kept addresses, and on the skipped ones that are up and not loopback\n"
         "    (for this report only: nothing else searches those): the boxes that answered through\n"
         "    each address, and the replies dropped there (for another program, failing the reply check,\n"
         "    of an unsupported model);\n"
         "  - a verdict: where the boxes are, or what to check.\n"
         "Exit status 0 when a box that the main window would list answered, else 1.\n"
         "\n"
         "  --json        print one JSON object: \"interfaces\" (one object per address), \"boxes\"\n"
         "                (the boxes the main window would list) and \"verdict\"\n";
}

constexpr const char* kCheckPasswordUsage =
    "Usage: quorvel-cli check-password --device D --user U < password\n"
    "\n"
    "Searches, then asks the box whether it accepts the user name and password.\n"
    "Exit status 0 when it accepts, 1 when it refuses or does not answer.\n"
    "\n";

constexpr const char* kSharesUsage =
    "Usage: quorvel-cli shares --device D --user U [--json] < password\n"
    "\n"
    "Searches, then fetches the box's share names and prints one per line.\n"
    "\n";

constexpr const char* kSetNetworkUsage =
    "Usage: quorvel-cli set-network --device D --user U --port P\n"
    "                               (--dhcp | --ip A --netmask M [--gateway G] [--force]) < password\n"
    "\n"
    "Checks the settings, searches, then sends them to the box in one request.\n"
    "A static address, netmask and gateway are four dot-separated decimal numbers; an\n"
    "absent or empty gateway is left blank (allowed only for link-local addresses).\n"
    "With --dhcp the port becomes a DHCP client; the address fields go out empty.\n"
    "\n"
    "A static address is not sent (exit status 4) when it lies outside the network of this\n"
    "PC's address through which the box was found, or when another device already answers\n"
    "at it (asked on the link for up to 1 s; the box's own current addresses are not asked\n"
    "about). When that cannot be found out, a warning is printed and the request is sent.\n"
    "\n";

constexpr const char* kSettingsHelp =
    "  --port P      LAN, LAN1, LAN2 or LAN1+LAN2\n"
    "  --dhcp        make the port a DHCP client\n"
    "  --ip A        static address\n"
    "  --netmask M   netmask\n"
    "  --gateway G   default gateway\n"
    "  --force       send a static address that the checks above would hold back\n";

}  // namespace

std::string UsageText(std::optional<Command> command) {
  if (!command) return kProgramUsage;
  switch (*command) {
    case Command::Search: return kSearchUsage;
    case Command::CheckPassword: return std::string(kCheckPasswordUsage) + kDeviceHelp;
    case Command::Shares:
      return std::string(kSharesUsage) + kDeviceHelp +
             "  --json        print the share names as one JSON array of texts\n";
    case Command::SetNetwork: return std::string(kSetNetworkUsage) + kDeviceHelp + kSettingsHelp;
    case Command::Doctor: return DoctorUsage();
  }
  return kProgramUsage;
}

std::string VersionText() { return std::string("quorvel-cli ") + QUORVEL_VERSION_TEXT + "\n"; }

}  // namespace quorvel::cli
