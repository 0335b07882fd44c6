// The command line of quorvel-boxsim.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvel::boxsim {

struct Options {
  std::string interfaceAddress;  // dotted IPv4 address of the boxes' interface
  std::string configPath;
  std::string logPath;  // empty: no request log
  bool help = false;
  bool version = false;
};

inline constexpr const char* kUsage =
    "usage: quorvel-boxsim --interface ADDRESS --config FILE.json [--log FILE.jsonl]\n"
    "       quorvel-boxsim --help | --version\n";

// Reads the arguments after the program name; on failure `error` says why.
std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, std::string& error);

}  // namespace quorvel::boxsim
