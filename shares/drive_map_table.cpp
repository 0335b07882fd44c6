#include "shares/drive_map_table.h"

#include "framework/controls.h"
#include "shares/box_text.h"

namespace quorvel {

namespace {

constexpr std::string_view kUncPrefix = "\\\\";

bool IsExcludedDriveType(unsigned type) {
  return type == platform::kDriveRemovable || type == platform::kDriveFixed ||
         type == platform::kDriveCdRom || type == platform::kDriveRamDisk;
}

DriveText DriveTextOfRow(int row) {
  const char text[] = {DriveMapTable::LetterOfRow(row), ':', '\0'};
  return DriveText(text);
}

}  // namespace

std::optional<RemoteNameParts> SplitRemoteName(std::string_view remoteName) {
  if (!remoteName.starts_with(kUncPrefix)) return std::nullopt;
  const std::size_t cut = remoteName.find('\\', kUncPrefix.size());
  if (cut == std::string_view::npos) return std::nullopt;
  return RemoteNameParts{remoteName.substr(kUncPrefix.size(), cut - kUncPrefix.size()),
                         remoteName.substr(cut + 1)};
}

std::string MappedForm(const DriveMapEntry& entry) {
  std::string text;
  text.reserve(entry.drive.size() + 4 + entry.host.size() + entry.share.size());
  text.append(entry.drive.view()).append(" ").append(kUncPrefix);
  text.append(entry.host.view()).append("\\").append(entry.share.view());
  return text;
}

std::string DriveLetterItem(const DriveMapEntry& entry) {
  return entry.IsMapped() ? MappedForm(entry) : entry.drive.str();
}

DriveMapTable::DriveMapTable() {
  for (int row = 0; row < kDriveRowCount; ++row) rows_[row].drive = DriveTextOfRow(row);
}

void DriveMapTable::RescanDriveMappings(platform::Drives& drives) {
  for (int row = 0; row < kDriveRowCount; ++row) {
    DriveMapEntry& entry = rows_[row];
    entry.drive = DriveTextOfRow(row);
    entry.host.clear();
    entry.share.clear();
    const std::optional<std::string> remote = drives.NetworkConnection(entry.drive.view());
    if (!remote) continue;
    if (const std::optional<RemoteNameParts> parts = SplitRemoteName(*remote)) {
      entry.host = WholeCharactersWithin(parts->host, kDriveHostWidth - 1);
      entry.share = WholeCharactersWithin(parts->share, kDriveShareWidth - 1);
    }
  }
}

bool DriveMapTable::IsUsable(int row, platform::Drives& drives) const {
  const char letter = LetterOfRow(row);
  if (letter == 'A' || letter == 'B') return false;
  return !IsExcludedDriveType(drives.DriveType(rows_[row].drive.view()));
}

void DriveMapTable::FillDriveLetterBox(ui::ComboBox& box, platform::Drives& drives,
                                       platform::TextCodec& text) const {
  LetterChoice(drives, text).FillBox(box);
}

DriveLetterChoice DriveMapTable::LetterChoice(platform::Drives& drives, platform::TextCodec& text) const {
  DriveLetterChoice choice;
  for (int row = 0; row < kDriveRowCount; ++row) {
    if (!IsUsable(row, drives)) continue;
    const DriveMapEntry& entry = rows_[row];
    choice.items.push_back(text.Utf8ToAnsi(DriveLetterItem(entry)));
    if (choice.current < 0 && !entry.IsMapped()) choice.current = static_cast<int>(choice.items.size()) - 1;
  }
  return choice;
}

DriveLetterChoice DriveMapTable::Reread(platform::Drives& drives, platform::TextCodec& text) {
  RescanDriveMappings(drives);
  return LetterChoice(drives, text);
}

void DriveLetterChoice::FillBox(ui::ComboBox& box) const {
  box.ResetContent();
  for (const std::string& item : items) box.AddString(item);
  box.SetCurSel(current);
}

std::optional<DriveText> DriveMapTable::FindFreeDriveLetter(std::string_view avoid,
                                                            platform::Drives& drives) const {
  const char avoided = avoid.empty() ? '\0' : avoid.front();
  for (int row = 0; row < kDriveRowCount; ++row) {
    const DriveMapEntry& entry = rows_[row];
    if (!IsUsable(row, drives) || entry.IsMapped()) continue;
    if (entry.drive.view().front() != avoided) return entry.drive;
  }
  return std::nullopt;
}

bool DriveMapTable::IsMapped(int row) const {
  return row >= 0 && row < kDriveRowCount && rows_[row].IsMapped();
}

}  // namespace quorvel
