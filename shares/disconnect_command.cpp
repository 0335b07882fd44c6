#include "shares/disconnect_command.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "res/resource.h"
#include "shares/share_paths.h"

namespace quorvel {

namespace {

constexpr const char* kDisconnectFailed =
    "Unable to disconnect this drive.\nPlease select a drive to disconnect and verify that the drive is not being "
    "accessed.";
constexpr const char* kUnmapped = "Successfully unmapped drive.";

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameHost(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// What the command removes: the drive text of a volume's row, or of the chosen letter.
struct Target {
  std::string location;
  std::string volume;  // empty when a letter was chosen rather than a volume
};

std::optional<Target> ChooseTarget(ui::DialogHost& host) {
  ui::ListView& shares = host.List(IDC_SHARE_LIST);
  const int row = ui::FirstSelectedRow(shares);
  if (row >= 0) return Target{shares.ItemText(row, 1), shares.ItemText(row, 0)};
  ui::ComboBox& letters = host.Combo(IDC_DRIVE_LETTER);
  if (letters.CurSel() < 0) return std::nullopt;
  return Target{letters.ItemText(letters.CurSel()), std::string()};
}

}  // namespace

DriveText FindDriveForShare(const DriveMapTable& table, std::string_view share,
                            std::span<const std::string_view> hosts) {
  for (const DriveMapEntry& row : table.rows()) {
    if (!row.IsMapped() || row.share.view() != share) continue;
    const bool ours = std::any_of(hosts.begin(), hosts.end(),
                                  [&](std::string_view host) { return SameHost(row.host.view(), host); });
    if (ours) return row.drive;
  }
  return DriveText();
}

void DisconnectSelectedShare(const MappingWindow& window) {
  ui::DialogHost& host = window.host;
  ui::ListView& devices = host.List(IDC_DEVICE_LIST);
  const int deviceRow = ui::FirstSelectedRow(devices);
  const std::optional<Target> target = ChooseTarget(host);
  if (!target) return;
  const std::string drive = target->location.substr(0, 2);

  // The companion belongs to the volume on the selected box; a mapping of a share of the same name on
  // another box is left alone.
  DriveText companionDrive;
  if (!target->volume.empty() && deviceRow >= 0) {
    const std::string name = devices.ItemText(deviceRow, 0);
    const std::string address = devices.ItemText(deviceRow, 1);
    const std::vector<std::string_view> hosts{name, address};
    companionDrive = FindDriveForShare(window.driveMap, RecycleShareName(target->volume), hosts);
  }

  // A volume without a mapping has no letter to drop.
  const std::uint32_t result =
      drive.empty() ? platform::kErrorNotConnected
                    : window.networkDrives.CancelConnection(drive, platform::kConnectUpdateProfile, true);
  if (!companionDrive.empty()) {
    window.networkDrives.CancelConnection(companionDrive.view(), platform::kConnectUpdateProfile, true);
  }
  if (result != platform::kNoError) {
    host.MessageBox(kDisconnectFailed, "Error", ui::Icon::Error);
    return;
  }
  host.MessageBox(kUnmapped, "Confirm", ui::Icon::Information);
  RefreshAfterChange(window, deviceRow);
}

}  // namespace quorvel
