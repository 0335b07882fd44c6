// quorvel-boxsim: simulated storage boxes on one interface of a lab network namespace.
#include <cstdio>
#include <string>
#include <vector>

#include "box_sockets.h"
#include "config.h"
#include "lab_namespace.h"
#include "options.h"
#include "quorvel_version.h"
#include "signal_watch.h"
#include "simulator.h"
#include "web_server.h"

namespace {

using namespace quorvel::boxsim;

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitRefused = 2;  // wrong usage, or not inside a lab namespace

int Fail(const std::string& message, int code = kExitFailure) {
  std::fprintf(stderr, "quorvel-boxsim: %s\n", message.c_str());
  return code;
}

int Serve(const Options& options) {
  std::string error;
  SignalWatch signals;
  if (!signals.Start(error)) return Fail(error);
  ConfigResult config = LoadConfigFile(options.configPath);
  if (!config.ok()) return Fail(config.error);
  const auto local = FindLocalInterface(options.interfaceAddress);
  if (!local) return Fail("no interface that is up has the address " + options.interfaceAddress);
  auto receiver = GroupReceiver::Open(*local, error);
  if (!receiver) return Fail("receive socket: " + error);
  auto sender = GroupSender::Open(*local, error);
  if (!sender) return Fail("reply socket: " + error);
  auto web = WebServer::Open(config.boxes, error);
  if (!web) return Fail(error);
  RequestLog log;
  if (!options.logPath.empty() && !log.Open(options.logPath)) return Fail("cannot open " + options.logPath);
  Simulator simulator(std::move(config.boxes), std::move(*receiver), std::move(*sender), std::move(*web), log);
  std::fputs("ready\n", stdout);
  std::fflush(stdout);
  return simulator.Run(signals) ? kExitOk : kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    std::fputs(kUsage, stderr);
    return Fail(error, kExitRefused);
  }
  if (options->help) {
    std::fputs(kUsage, stdout);
    return kExitOk;
  }
  if (options->version) {
    std::fputs("quorvel-boxsim " QUORVEL_VERSION_TEXT "\n", stdout);
    return kExitOk;
  }
  if (!InsideLabNamespace()) {
    return Fail(std::string("refusing to start: not inside a lab network namespace (one named \"") +
                    std::string(kLabNamespacePrefix) + "...\" under " + kNetnsDirectory + ")",
                kExitRefused);
  }
  return Serve(*options);
}
