#include "services/browser_command.h"

namespace quorvel {

namespace {

constexpr int kOctets = 4;
constexpr int kOctetMaxDigits = 3;
constexpr int kOctetMax = 255;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One octet at the start of text: its length, or 0 when there is none there.
std::size_t OctetLength(std::string_view text) {
  std::size_t length = 0;
  int value = 0;
  while (length < text.size() && IsDigit(text[length])) {
    if (length == kOctetMaxDigits) return 0;
    value = value * 10 + (text[length] - '0');
    ++length;
  }
  if (length == 0 || value > kOctetMax) return 0;
  if (length > 1 && text[0] == '0') return 0;
  return length;
}

}  // namespace

std::string BrowserCommandKeyPath(std::string_view clientName) {
  std::string path(kStartMenuInternetKey);
  path += '\\';
  path += clientName;
  path += "\\shell\\open\\command";
  return path;
}

std::string_view WebScheme(std::string_view httpsFlagText) {
  return httpsFlagText.find('1') != std::string_view::npos ? kHttpsScheme : kHttpScheme;
}

bool IsDottedIpv4Address(std::string_view text) {
  if (text.size() > kDottedAddressMaxChars) return false;
  for (int octet = 0; octet < kOctets; ++octet) {
    if (octet > 0) {
      if (text.empty() || text.front() != '.') return false;
      text.remove_prefix(1);
    }
    const std::size_t length = OctetLength(text);
    if (length == 0) return false;
    text.remove_prefix(length);
  }
  return text.empty();
}

std::string WebServerUrl(std::string_view scheme, const BoxAddress& address) {
  std::string url(scheme);
  url += address.text();
  url += '/';
  return url;
}

std::string ExplorerCommand(std::string_view scheme, const BoxAddress& address) {
  std::string command("explorer ");
  command += scheme;
  command += address.text();
  return command;
}

std::optional<std::string> BrowserCommandLine(std::string_view browserCommand, std::string_view scheme,
                                              const BoxAddress& address) {
  if (browserCommand.size() + 1 + scheme.size() + address.text().size() > kCommandTextMaxChars) return std::nullopt;
  std::string command(browserCommand);
  command += ' ';
  command += scheme;
  command += address.text();
  return command;
}

}  // namespace quorvel
