// Writes every embedded payload with ExtractResourceToFile over the real seams: the codepage payloads
// straight into OUT\codepage\, the add-on payloads staged through C:\bt\ into OUT\bt\, then removes the
// staging folder. Prints one key=value line per step; OUT must not lie on C: (a write path on C: is a
// staging file to the writer).
#include <cstdio>
#include <string>

#include "platform/win32/address_probe_win32.h"
#include "platform/win32/drives_win32.h"
#include "platform/win32/files_win32.h"
#include "platform/win32/network_drives_win32.h"
#include "platform/win32/os_info_win32.h"
#include "platform/win32/payloads_win32.h"
#include "platform/win32/processes_win32.h"
#include "platform/win32/reachability_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/text_codec_win32.h"
#include "services/addon_install.h"
#include "services/codepage_table.h"
#include "services/extract_resource.h"

namespace {

using namespace quorvel;

// The writer asks the box nothing.
struct NoRequests final : ServiceRequests {
  int QueryDiskStatus(StatusText&) override { return 0; }
  int QueryAddonStatus(StatusText&) override { return 0; }
  int QuerySystemShareName(ShareNameText&) override { return 0; }
  int RequestAccessMode(const StatusText&) override { return 0; }
  int StartAddon(const StatusText&) override { return 0; }
};

void Report(const std::string& key, bool value) { std::printf("%s=%d\n", key.c_str(), value ? 1 : 0); }

int Run(const std::string& out) {
  SystemClock clock;
  platform::Win32Drives drives;
  platform::Win32OsInfo os;
  platform::Win32TextCodec text;
  platform::Win32Registry registry;
  platform::Win32Processes processes;
  platform::Win32Reachability reachability;
  platform::Win32NetworkDrives networkDrives;
  platform::Win32Files files;
  platform::Win32Payloads payloads;
  platform::Win32AddressProbe addressProbe;
  platform::Platform platform{drives,    clock,        os,            text,  registry,
                              processes, reachability, networkDrives, files, payloads, addressProbe};
  ServiceState state;
  NoRequests requests;
  ServiceContext context{state, requests, platform, *ServiceAddress::Checked("192.0.2.1")};

  Report("mkdir.codepage", files.CreateFolder(out + "\\codepage"));
  for (const CodepageRow& row : CodepageTable()) {
    for (auto part : {row.marker, row.oldModules, row.newModules, row.maps}) {
      for (const PayloadFile& file : part) {
        const std::string name(file.name);
        const std::string path = out + "\\codepage\\" + name;
        Report("codepage/" + name, ExtractResourceToFile(context, "Codepage", file.id, path, ""));
      }
    }
  }

  Report("mkdir.bt", files.CreateFolder(out + "\\bt"));
  Report("mkdir.staging", files.CreateFolder(kStagingFolder));
  const struct {
    int id;
    const char* name;
  } addon[] = {{215, "bt"}, {220, "btdog"}};
  for (const auto& payload : addon) {
    const std::string staging = std::string(kStagingFolder) + payload.name;
    const std::string final = out + "\\bt\\" + payload.name;
    Report(std::string("bt/") + payload.name, ExtractResourceToFile(context, "BT", payload.id, staging, final));
    Report(std::string("staging_left.") + payload.name, files.Exists(staging));
  }
  Report("rmdir.staging", files.RemoveFolder(kStagingFolder));
  Report("missing_payload", ExtractResourceToFile(context, "BT", 999, out + "\\bt\\none", ""));
  Report("missing_payload_written", files.Exists(out + "\\bt\\none"));
  std::printf("done=1\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quorvel-payload-probe OUT\n");
    return 2;
  }
  return Run(argv[1]);
}
