#include "shares/disconnect_command.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "res/resource.h"
#include "shares/box_text.h"
#include "shares/share_paths.h"

namespace quorvel {

namespace {

constexpr const char* kDisconnectFailed =
    "Unable to disconnect this drive.\nPlease select a drive to disconnect and verify that the drive is not being "
    "accessed.";
constexpr const char* kUnmapped = "Successfully unmapped drive.";

// What the command removes: the drive text of a volume's row, or of the chosen letter.
struct Target {
  std::string location;
  std::string volume;  // the box's own name (UTF-8); empty when a letter was chosen rather than a volume
};

std::optional<Target> ChooseTarget(const MappingWindow& window) {
  ui::ListView& shares = window.host.List(IDC_SHARE_LIST);
  const int row = ui::FirstSelectedRow(shares);
  if (row >= 0) return Target{shares.ItemText(row, 1), std::string(window.shareList.NameOfRow(row))};
  ui::ComboBox& letters = window.host.Combo(IDC_DRIVE_LETTER);
  if (letters.CurSel() < 0) return std::nullopt;
  return Target{letters.ItemText(letters.CurSel()), std::string()};
}

// The box whose companion goes: the host of the removed letter's own mapping; when the letter has none,
// the hosts that the share list was filled for.
std::vector<std::string_view> CompanionHosts(const MappingWindow& window, std::string_view drive) {
  for (const DriveMapEntry& row : window.driveMap.rows()) {
    if (row.IsMapped() && row.drive == drive) return {row.host.view()};
  }
  return {window.shareList.hosts.begin(), window.shareList.hosts.end()};
}

}  // namespace

DriveText FindDriveForShare(const DriveMapTable& table, std::string_view share,
                            std::span<const std::string_view> hosts) {
  for (const DriveMapEntry& row : table.rows()) {
    if (!row.IsMapped() || row.share.view() != share) continue;
    const bool ours = std::any_of(hosts.begin(), hosts.end(), [&](std::string_view host) {
      return SameIgnoringAsciiCase(row.host.view(), host);
    });
    if (ours) return row.drive;
  }
  return DriveText();
}

void DisconnectSelectedShare(const MappingWindow& window) {
  ui::DialogHost& host = window.host;
  const int deviceRow = ui::FirstSelectedRow(host.List(IDC_DEVICE_LIST));
  const std::optional<Target> target = ChooseTarget(window);
  if (!target) return;
  const std::string drive = target->location.substr(0, 2);

  // The companion belongs to the volume on the same box; a mapping of a share of the same name on
  // another box is left alone.
  DriveText companionDrive;
  if (!target->volume.empty()) {
    companionDrive =
        FindDriveForShare(window.driveMap, RecycleShareName(target->volume), CompanionHosts(window, drive));
  }

  // A volume without a mapping has no letter to drop.
  const auto cancelled = host.RunBusy([&] {
    const std::uint32_t result =
        drive.empty() ? platform::kErrorNotConnected
                      : window.networkDrives.CancelConnection(drive, platform::kConnectUpdateProfile, true);
    if (!companionDrive.empty()) {
      window.networkDrives.CancelConnection(companionDrive.view(), platform::kConnectUpdateProfile, true);
    }
    return result;
  });
  if (!cancelled) return;  // a close is waiting
  if (*cancelled != platform::kNoError) {
    host.MessageBox(kDisconnectFailed, "Error", ui::Icon::Error);
    return;
  }
  host.MessageBox(kUnmapped, "Confirm", ui::Icon::Information);
  RefreshAfterChange(window, deviceRow);
}

}  // namespace quorvel
