// Writes every embedded payload over the real seams: the codepage payloads with ExtractResourceToFile
// straight into OUT\codepage\, the add-on payloads by the add-on job itself (its own staging route and its
// own destination on the box 192.0.2.1), then removes the staging folder. Prints one key=value line per step,
// and "write PATH" / "copy FROM > TO" for each file the add-on job wrote or copied; OUT must not lie on C:
// (a write path on C: is a staging file to the writer).
#include <cstdio>
#include <string>
#include <string_view>

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
#include "services/copy_job.h"
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

// The Windows Files seam, telling which files were written and copied while `recording` is set.
struct RecordingFiles final : platform::Files {
  platform::Win32Files files;
  bool recording = false;
  bool WriteBinary(std::string_view path, std::string_view bytes) override {
    if (recording) std::printf("write %.*s\n", static_cast<int>(path.size()), path.data());
    return files.WriteBinary(path, bytes);
  }
  bool WriteText(std::string_view path, std::string_view text) override { return files.WriteText(path, text); }
  bool Remove(std::string_view path) override { return files.Remove(path); }
  bool Copy(std::string_view from, std::string_view to, bool failIfExists) override {
    if (recording) {
      std::printf("copy %.*s > %.*s\n", static_cast<int>(from.size()), from.data(), static_cast<int>(to.size()),
                  to.data());
    }
    return files.Copy(from, to, failIfExists);
  }
  bool Exists(std::string_view path) override { return files.Exists(path); }
  bool CreateFolder(std::string_view path) override { return files.CreateFolder(path); }
  bool RemoveFolder(std::string_view path) override { return files.RemoveFolder(path); }
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
  RecordingFiles files;
  platform::Win32Payloads payloads;
  platform::Win32AddressProbe addressProbe;
  platform::Platform platform{drives,    clock,        os,            text,  registry,
                              processes, reachability, networkDrives, files, payloads, addressProbe};
  ServiceState state;
  NoRequests requests;
  ServiceContext context{state, requests, platform, *BoxAddress::Checked("192.0.2.1")};

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

  files.recording = true;
  Report("addon_job", CopyJob(context, kAddonJobTimer) == JobOutcome::Success && state.AddonCopied == 1);
  files.recording = false;
  for (const char* name : {"bt", "btdog"}) {
    Report(std::string("staging_left.") + name, files.Exists(std::string(kStagingFolder) + name));
  }
  Report("rmdir.staging", files.RemoveFolder(kStagingFolder));
  Report("mkdir.bt", files.CreateFolder(out + "\\bt"));
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
