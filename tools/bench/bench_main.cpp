// quorvel-bench: times the protocol's operations against whatever answers on the lab network and
// prints the figures as one JSON object. Run it only inside the lab (tools/bench/bench.py does).
//   quorvel-bench search
//   quorvel-bench check-password --device KEYTEXT --user U --password P
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

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

int CheckPassword(DeviceProtocol& protocol, int argc, char** argv) {
  protocol.SearchDevices();
  const std::string key = Option(argc, argv, "--device");
  for (const DeviceRecord& record : protocol.DeviceTable()) {
    if (DeviceKeyText(record.id) != key) continue;
    protocol.context().SelectedDeviceId = record.id;
    protocol.context().UserName = Option(argc, argv, "--user");
    protocol.context().Password = Option(argc, argv, "--password");
    const auto start = std::chrono::steady_clock::now();
    const bool accepted = protocol.CheckPassword();
    std::printf("{\"seconds\": %.4f, \"accepted\": %s}\n", SecondsSince(start), accepted ? "true" : "false");
    return accepted ? 0 : 1;
  }
  std::fprintf(stderr, "quorvel-bench: device %s not found\n", key.c_str());
  return 3;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command != "search" && command != "check-password") {
    std::fprintf(stderr, "usage: quorvel-bench search | check-password --device KEY --user U --password P\n");
    return 2;
  }
  SystemClock clock;
  DeviceProtocol protocol(std::make_unique<MulticastTransport>(), clock);
  if (!protocol.NetStartup()) return 1;
  return command == "search" ? Search(protocol) : CheckPassword(protocol, argc, argv);
}
