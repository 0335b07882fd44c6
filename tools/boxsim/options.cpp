#include "options.h"

#include <arpa/inet.h>

namespace quorvel::boxsim {

namespace {

bool IsDottedAddress(const std::string& text) {
  in_addr address{};
  return inet_pton(AF_INET, text.c_str(), &address) == 1;
}

std::string* Target(Options& options, const std::string& name) {
  if (name == "--interface") return &options.interfaceAddress;
  if (name == "--config") return &options.configPath;
  if (name == "--log") return &options.logPath;
  return nullptr;
}

bool Check(const Options& options, std::string& error) {
  if (options.interfaceAddress.empty() || options.configPath.empty()) {
    error = "--interface and --config are required";
  } else if (!IsDottedAddress(options.interfaceAddress)) {
    error = "--interface needs a dotted IPv4 address, not \"" + options.interfaceAddress + "\"";
  }
  return error.empty();
}

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, std::string& error) {
  Options options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& name = arguments[i];
    if (name == "--help" || name == "-h") {
      options.help = true;
      return options;
    }
    if (name == "--version") {
      options.version = true;
      return options;
    }
    std::string* target = Target(options, name);
    if (!target) {
      error = "unknown argument \"" + name + "\"";
      return std::nullopt;
    }
    if (i + 1 == arguments.size() || arguments[i + 1].empty()) {
      error = name + " needs a value";
      return std::nullopt;
    }
    *target = arguments[++i];
  }
  if (!Check(options, error)) return std::nullopt;
  return options;
}

}  // namespace quorvel::boxsim
