// The Disconnect command of the main window: removes the mapping of the volume selected in the share
// list, or of the letter chosen in the drive-letter box when no volume is selected, together with the
// mapping of the volume's companion share on the same box: the host of the letter's own mapping, or
// the hosts the share list was filled for when the letter has no mapping.
#pragma once

#include <span>
#include <string_view>

#include "shares/drive_map_table.h"
#include "shares/mapping_window.h"

namespace quorvel {

// The drive text of the first row in table order (Z first) that is mapped to the share, compared
// exactly, on one of the hosts, compared ignoring ASCII case in the wide form (all texts UTF-8). Empty
// when no row matches, and always when no host is given: a share name alone does not say whose it is.
DriveText FindDriveForShare(const DriveMapTable& table, std::string_view share,
                            std::span<const std::string_view> hosts);

// Ends silently when neither a volume nor a letter is chosen. The companion goes before the volume's
// own result is looked at; when the platform refuses (or there was no mapping) the command shows the
// error and leaves the lists; otherwise it rebuilds the drive-letter box and the share list.
void DisconnectSelectedShare(const MappingWindow& window);

}  // namespace quorvel
