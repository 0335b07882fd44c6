// The console's picture of the PC's drive letters and their network connections: one row per
// letter, Z: first. It is rebuilt from the platform after every change, fills the drive-letter box
// of the main window, tells the share list where a volume is mapped, and finds free letters.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/controls.h"
#include "platform/drives.h"
#include "platform/text_codec.h"
#include "protocol/fixed_text.h"

namespace quorvel::ui {
class ComboBox;
}  // namespace quorvel::ui

namespace quorvel {

inline constexpr std::size_t kDriveHostWidth = 256;
// A volume's name of 255 bytes with "Recycle Bin - " before it (its companion), and the NUL.
inline constexpr std::size_t kDriveShareWidth = 270;
inline constexpr std::size_t kDriveTextWidth = 8;
inline constexpr int kDriveRowCount = 26;

using DriveText = FixedText<kDriveTextWidth>;

// One drive letter. host and share are empty unless the letter is a network connection; they hold
// the connection's remote name in UTF-8, as the platform reports it (a longer text ends at the last
// whole character that fits, never inside one).
struct DriveMapEntry {
  FixedText<kDriveHostWidth> host;    // the server of the connection
  FixedText<kDriveShareWidth> share;  // the share, possibly with a sub-path
  DriveText drive;                    // "Z:"

  bool IsMapped() const { return !host.empty() && !share.empty(); }
};

// A UNC remote name cut at its first backslash after the leading two:
// "\\server\share\folder" gives host "server" and share "share\folder".
struct RemoteNameParts {
  std::string_view host;
  std::string_view share;
};

// Nothing when the name does not begin with two backslashes or has no backslash after them.
std::optional<RemoteNameParts> SplitRemoteName(std::string_view remoteName);

// A mapped letter as the drive-letter box shows it: "Z: \\server\share".
std::string MappedForm(const DriveMapEntry& entry);

// The drive-letter box's item for a letter: the mapped form when mapped, else the drive text.
std::string DriveLetterItem(const DriveMapEntry& entry);

// The drive-letter box's items (in the ANSI code page) and its current item (-1: none), as read from the
// platform: the reading may block on a network drive, the filling may not.
struct DriveLetterChoice {
  std::vector<std::string> items;
  int current = -1;
  void FillBox(ui::ComboBox& box) const;
};

class DriveMapTable {
 public:
  using Rows = std::array<DriveMapEntry, kDriveRowCount>;

  // Every row knows its drive text from the start; none is mapped until the first rescan.
  DriveMapTable();

  // The letter of a row: row 0 is Z, row 25 is A.
  static constexpr char LetterOfRow(int row) { return static_cast<char>('Z' - row); }

  // Rebuilds every row from the platform's network connections.
  void RescanDriveMappings(platform::Drives& drives);

  // Empties the box and adds one item per usable letter in table order (in the ANSI code page), then
  // selects the first free letter, or nothing when every listed letter is mapped.
  void FillDriveLetterBox(ui::ComboBox& box, platform::Drives& drives, platform::TextCodec& text) const;
  // What FillDriveLetterBox puts in the box, without the box.
  DriveLetterChoice LetterChoice(platform::Drives& drives, platform::TextCodec& text) const;
  // The rescan and the letter choice in one go: the drive-map read, as busy work runs it.
  DriveLetterChoice Reread(platform::Drives& drives, platform::TextCodec& text);

  // The first usable, unmapped letter whose first character differs from avoid's; nothing when
  // there is none.
  std::optional<DriveText> FindFreeDriveLetter(std::string_view avoid,
                                               platform::Drives& drives) const;

  // False for a row outside 0..25.
  bool IsMapped(int row) const;

  const Rows& rows() const { return rows_; }

 private:
  // A letter the box may list: not A: or B:, not a local disk, CD-ROM or RAM disk.
  bool IsUsable(int row, platform::Drives& drives) const;

  Rows rows_;
};

}  // namespace quorvel
