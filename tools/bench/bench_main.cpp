// quorvel-bench: times the protocol's operations against whatever answers on the lab network and
// prints the figures as one JSON object. Run it only inside the lab (tools/bench/bench.py does).
//   quorvel-bench search
//   quorvel-bench check-password --user U --device KEYTEXT --password P [--device KEYTEXT --password P]...
// check-password searches once, then checks each device's password in the order given, one right
// after the other; it prints the figures of the last check and of every check ("checks").
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "clock.h"
#include "device_protocol.h"
#include "multicast_transport.h"

using namespace quorvel;

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

const char* Option(int argc, char** argv, const char* name) {
  for (int i = 2; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], name) == 0) return argv[i + 1];
  }
  return "";
}

int Search(DeviceProtocol& protocol) {
  const auto start = std::chrono::steady_clock::now();
  protocol.SearchDevices();
  std::printf("{\"seconds\": %.4f, \"records\": %zu, \"interfaces\": %d}\n", SecondsSince(start),
              protocol.DeviceTable().size(), protocol.InterfaceCount());
  return 0;
}

// The --device and --password pairs, in order.
std::vector<std::pair<std::string, std::string>> Checks(int argc, char** argv) {
  std::vector<std::pair<std::string, std::string>> checks;
  for (int i = 2; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--device") == 0) checks.emplace_back(argv[i + 1], "");
    if (std::strcmp(argv[i], "--password") == 0 && !checks.empty()) checks.back().second = argv[i + 1];
  }
  return checks;
}

const DeviceRecord* FindByKey(const DeviceProtocol& protocol, const std::string& key) {
  for (const DeviceRecord& record : protocol.DeviceTable()) {
    if (DeviceKeyText(record.id) == key) return &record;
  }
  return nullptr;
}

int CheckPassword(DeviceProtocol& protocol, int argc, char** argv) {
  protocol.SearchDevices();
  const auto checks = Checks(argc, argv);
  std::string figures;
  double seconds = 0;
  bool accepted = false;
  for (const auto& [key, password] : checks) {
    const DeviceRecord* record = FindByKey(protocol, key);
    if (!record) {
      std::fprintf(stderr, "quorvel-bench: device %s not found\n", key.c_str());
      return 3;
    }
    protocol.context().SelectedDeviceId = record->id;
    protocol.context().UserName = Option(argc, argv, "--user");
    protocol.context().Password = password;
    const auto start = std::chrono::steady_clock::now();
    accepted = protocol.CheckPassword();
    seconds = SecondsSince(start);
    char one[160];
    std::snprintf(one, sizeof one, "%s{\"device\": \"%s\", \"seconds\": %.4f, \"accepted\": %s}",
                  figures.empty() ? "" : ", ", key.c_str(), seconds, accepted ? "true" : "false");
    figures += one;
  }
  if (checks.empty()) return 2;
  std::printf("{\"seconds\": %.4f, \"accepted\": %s, \"checks\": [%s]}\n", seconds, accepted ? "true" : "false",
              figures.c_str());
  return accepted ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command != "search" && command != "check-password") {
    std::fprintf(stderr, "usage: quorvel-bench search | check-password --user U --device KEY --password P ...\n");
    return 2;
  }
  SystemClock clock;
  DeviceProtocol protocol(std::make_unique<MulticastTransport>(), clock);
  if (!protocol.NetStartup()) return 1;
  return command == "search" ? Search(protocol) : CheckPassword(protocol, argc, argv);
}
