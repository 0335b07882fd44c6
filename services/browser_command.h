// The addresses and command lines that open a box's web pages: the scheme that the HTTPS flag text
// chooses, the check that an address from a box is one, and the command forms.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "services/box_address.h"
#include "services/registry_text.h"

namespace quorvel {

inline constexpr std::string_view kHttpScheme = "http://";
inline constexpr std::string_view kHttpsScheme = "https://";
inline constexpr std::size_t kDottedAddressMaxChars = 15;  // "255.255.255.255"

// The longest command line that the launcher builds: a browser command as long as the registry text
// can be, a blank, the longer scheme and the longest address. Every command of a valid address fits.
inline constexpr std::size_t kCommandTextMaxChars =
    kRegistryTextMaxChars + 1 + kHttpsScheme.size() + kDottedAddressMaxChars;

// The registry key that names the default browser's client, and where the client's command is kept.
inline constexpr std::string_view kStartMenuInternetKey = "Software\\Clients\\StartMenuInternet";
std::string BrowserCommandKeyPath(std::string_view clientName);

// "https://" when the flag text holds a "1" anywhere, else "http://".
std::string_view WebScheme(std::string_view httpsFlagText);

// Four decimal numbers from 0 to 255 joined by dots, and nothing else: no blanks, no signs, no leading
// zeros (which other readers take as octal). Only such a text goes into a url or a command line.
bool IsDottedIpv4Address(std::string_view text);

// The url of the box's web server that the reachability check asks about: the scheme, the address, "/".
std::string WebServerUrl(std::string_view scheme, const BoxAddress& address);

// "explorer " followed by the scheme and the address: the shell opens the address itself.
std::string ExplorerCommand(std::string_view scheme, const BoxAddress& address);

// The browser's registered command unchanged (quotes and placeholders stay as they are), a blank, then
// the scheme and the address. Nothing when that would be longer than kCommandTextMaxChars.
std::optional<std::string> BrowserCommandLine(std::string_view browserCommand, std::string_view scheme,
                                              const BoxAddress& address);

}  // namespace quorvel
