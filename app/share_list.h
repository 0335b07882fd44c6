// The share list of the main window: the selected box's share names, each with the drive letter of
// this PC that is mapped to it. The one way the list is rebuilt; the callers differ in which host
// texts they give and how the names are compared (the variants).
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/controls.h"
#include "platform/text_codec.h"
#include "protocol/share_names.h"
#include "shares/drive_map_table.h"
#include "shares/mapping_window.h"

namespace quorvel {

enum class ShareListVariant {
  Selection,              // a box was selected: host by its name or address, both ignoring case
  AfterUnmapping,         // the same after a mapping was removed
  AfterMapping,           // after a mapping: the host compared exactly
  AfterInterfaceSwitch,   // the other port is shown: its address; the "Recycle Bin" companions listed
};

// The companion shares of the volumes ("Recycle Bin - " and the volume name) begin with this.
inline constexpr std::string_view kRecycleBinPrefix = "Recycle Bin";

// The drive text of the mapping of this share on one of the hosts; the last match in table order
// (the letter nearest to A); empty when none matches. The share and the hosts are UTF-8; the share
// is compared ignoring ASCII case, the hosts as the variant says, in their wide form.
std::string_view MappedLocation(const DriveMapTable& drives, const std::vector<std::string>& hosts,
                                std::string_view share, ShareListVariant variant);

// Empties the list and adds one row per listed name: column 0 the name in the ANSI code page,
// column 1 its drive letter. The hosts are the box's own texts (UTF-8); content takes the box's own
// name of every row and the hosts.
void FillShareList(ui::ListView& list, const std::vector<ShareName>& names, const DriveMapTable& drives,
                   platform::TextCodec& text, std::span<const std::string_view> hosts, ShareListVariant variant,
                   ShareListContent& content);

}  // namespace quorvel
