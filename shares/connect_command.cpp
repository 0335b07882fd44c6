#include "shares/connect_command.h"

#include <optional>
#include <string_view>
#include <utility>

#include "res/resource.h"
#include "services/windows_version.h"
#include "shares/mount_message.h"
#include "shares/share_paths.h"

namespace quorvel {

namespace {

constexpr const char* kSelectDevice = "Please select a device in the above section.";
constexpr const char* kMapFailed = "Failed to map drive.";
constexpr const char* kMapped = "Successfully mapped drive.";
constexpr std::uint32_t kInteractiveFlags = platform::kConnectUpdateProfile | platform::kConnectInteractive;

using Text = std::optional<std::string>;

struct Credentials {
  Text password;
  Text userName;
};

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// One mapping as the command makes it: the volume's connection, then its companion's on another letter
// (none when there is no free letter), both with the same credentials and flags.
class Mapping {
 public:
  Mapping(platform::NetworkDrives& network, std::string drive, std::optional<DriveText> companionDrive,
          const BoxAddress& address, std::string_view volume)
      : network_(network),
        drive_(std::move(drive)),
        companionDrive_(std::move(companionDrive)),
        mainPath_(ShareUncPath(address, volume)),
        companionPath_(ShareUncPath(address, RecycleShareName(volume))) {}

  bool ConnectMain(const Credentials& with, std::uint32_t flags) {
    return Add(drive_, mainPath_, with, flags) == platform::kNoError;
  }
  // Its result is not looked at: a box without the companion share still has its volume mapped.
  void ConnectCompanion(const Credentials& with, std::uint32_t flags) {
    if (companionDrive_) Add(companionDrive_->str(), companionPath_, with, flags);
  }

 private:
  std::uint32_t Add(std::string local, std::string remote, const Credentials& with, std::uint32_t flags) {
    const platform::NetworkConnectionRequest request{platform::kResourceTypeDisk, std::move(local), std::move(remote)};
    return network_.AddConnection(request, with.password, with.userName, flags);
  }

  platform::NetworkDrives& network_;
  std::string drive_;
  std::optional<DriveText> companionDrive_;
  std::string mainPath_;
  std::string companionPath_;
};

// The user name and password that the box accepted at its selection; empty texts when none.
Credentials RememberedCredentials(AuthTable& table, std::string_view key) {
  FixedText<64> userName;
  FixedText<64> password;
  if (const AuthEntry* entry = table.Find(key)) {
    userName = entry->userName.view();
    password = entry->password.view();
  }
  return {password.str(), userName.str()};
}

// Windows NT 3.51 and 4: the remembered credentials only, a few times.
bool ConnectOnNt(Mapping& mapping, const Credentials& remembered) {
  bool connected = false;
  for (int attempt = 0; attempt < kNtMappingAttempts && !connected; ++attempt) {
    connected = mapping.ConnectMain(remembered, platform::kConnectUpdateProfile);
  }
  if (connected) mapping.ConnectCompanion(remembered, platform::kConnectUpdateProfile);
  return connected;
}

// Every other Windows: as a guest first; then through the system's own credential prompt where there is
// one ("Vista": version 6 and later), else with the remembered credentials.
bool ConnectAsGuestFirst(Mapping& mapping, std::string_view windows, const std::function<Credentials()>& remembered) {
  const Credentials guest{std::string(), std::string()};
  const Credentials processUser{std::nullopt, std::nullopt};
  if (mapping.ConnectMain(guest, platform::kConnectUpdateProfile)) {
    mapping.ConnectCompanion(processUser, platform::kConnectUpdateProfile);
    return true;
  }
  if (Contains(windows, "Vista")) {
    if (!mapping.ConnectMain(guest, kInteractiveFlags)) return false;
    mapping.ConnectCompanion(processUser, kInteractiveFlags);
    return true;
  }
  const Credentials credentials = remembered();
  if (!mapping.ConnectMain(credentials, platform::kConnectUpdateProfile)) return false;
  mapping.ConnectCompanion(credentials, platform::kConnectUpdateProfile);
  return true;
}

}  // namespace

void ConnectSelectedShare(const MappingWindow& window, const ConnectState& state) {
  ui::DialogHost& host = window.host;
  state.adminLoginMode = 0;
  state.request.UserName.clear();
  state.request.Password.clear();
  const std::string windows = GetWindowsVersionName(state.os);
  const bool ntPath = Contains(windows, "NT");

  const int deviceRow = ui::FirstSelectedRow(host.List(IDC_DEVICE_LIST));
  std::string address;
  std::string key;
  if (deviceRow >= 0) {
    address = host.List(IDC_DEVICE_LIST).ItemText(deviceRow, 1);
    state.currentDeviceAddress = address;
    key = state.deviceKeyOfRow(deviceRow);
  }

  ui::ListView& shares = host.List(IDC_SHARE_LIST);
  const int shareRow = ui::FirstSelectedRow(shares);
  // Without a selected box in view there is no address to build the paths from.
  if (shareRow < 0 || deviceRow < 0) {
    host.MessageBox(kSelectDevice, "Warning", ui::Icon::Warning);
    return;
  }
  // The name as the box sent it, not as the row shows it: the ANSI code page may not carry it.
  const std::string volume(window.shareList.NameOfRow(shareRow));

  ui::ComboBox& letters = host.Combo(IDC_DRIVE_LETTER);
  if (letters.CurSel() < 0) return;
  const std::string item = letters.ItemText(letters.CurSel());
  const std::string drive = item.substr(0, 2);

  // The address and the name come from the box: only a plain address and a name that stays one share
  // go into a path. Nothing is asked, dropped or connected otherwise.
  const std::optional<BoxAddress> mappable = MappableAddress(address, volume);
  if (!mappable) {
    host.MessageBox(kMapFailed, "Error", ui::Icon::Error);
    return;
  }
  if (Contains(item, ": ")) {  // the mapped form: the letter has a connection
    MountMessage question(state.driveReuseAnswer);
    host.RunModal(question);
    if (state.driveReuseAnswer == 0) return;
  }

  // Every platform call below may block (a box that has gone away): they run as busy work, with the
  // credentials taken beforehand.
  const Credentials remembered = RememberedCredentials(state.authTable, key);
  const auto mapped = host.RunBusy([&] {
    Mapping mapping(window.networkDrives, drive, window.driveMap.FindFreeDriveLetter(drive, window.drives),
                    *mappable, volume);
    // Whatever the letter was connected to goes, and is forgotten, also when the mapping below fails.
    window.networkDrives.CancelConnection(drive, platform::kConnectUpdateProfile, true);
    return ntPath ? ConnectOnNt(mapping, remembered)
                  : ConnectAsGuestFirst(mapping, windows, [&] { return remembered; });
  });
  if (!mapped) return;  // a close is waiting
  if (!*mapped) {
    host.MessageBox(kMapFailed, "Error", ui::Icon::Error);
    return;
  }
  host.MessageBox(kMapped, "Confirm", ui::Icon::Information);
  RefreshAfterChange(window, deviceRow);
}

}  // namespace quorvel
