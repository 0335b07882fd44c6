#include "services/web_launcher.h"

#include <optional>
#include <string>

#include "services/browser_command.h"
#include "services/registry_text.h"

namespace quorvel {

namespace {

// The results of a start that say the program is not there or cannot be run.
bool NothingToRun(unsigned result) {
  return result == platform::kStartFileNotFound || result == platform::kStartPathNotFound ||
         result == platform::kStartBadFormat;
}

// The command line for the default browser. A client of the "IE" family is left to the shell.
std::string DefaultBrowserCommand(platform::Registry& registry, std::string_view scheme, const BoxAddress& address) {
  const std::string client =
      ReadRegistryText(registry, platform::RegistryRoot::LocalMachine, kStartMenuInternetKey, "");
  if (client.find("IE") != std::string::npos) return ExplorerCommand(scheme, address);
  const std::string browser =
      ReadRegistryText(registry, platform::RegistryRoot::LocalMachine, BrowserCommandKeyPath(client), "");
  // Every registry text fits with a valid address; should one not, the shell still opens the pages.
  return BrowserCommandLine(browser, scheme, address).value_or(ExplorerCommand(scheme, address));
}

}  // namespace

void OpenWebPages(platform::Registry& registry, platform::Processes& processes, const BoxAddress& address,
                  std::string_view httpsFlagText) {
  const std::string_view scheme = WebScheme(httpsFlagText);
  const unsigned result = processes.StartCommandLine(DefaultBrowserCommand(registry, scheme, address),
                                                     platform::kShowHide);
  if (NothingToRun(result)) processes.StartCommandLine(ExplorerCommand(scheme, address), platform::kShowHide);
}

}  // namespace quorvel
