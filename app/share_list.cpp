#include "app/share_list.h"

#include <algorithm>

#include "shares/box_text.h"

namespace quorvel {

namespace {

bool HidesRecycleBins(ShareListVariant variant) { return variant != ShareListVariant::AfterInterfaceSwitch; }

bool HostMatches(std::string_view host, const std::vector<std::string>& hosts, ShareListVariant variant) {
  return std::any_of(hosts.begin(), hosts.end(), [&](std::string_view candidate) {
    return variant == ShareListVariant::AfterMapping ? host == candidate : SameIgnoringAsciiCase(host, candidate);
  });
}

}  // namespace

std::string_view MappedLocation(const DriveMapTable& drives, const std::vector<std::string>& hosts,
                                std::string_view share, ShareListVariant variant) {
  std::string_view location;
  for (const DriveMapEntry& row : drives.rows()) {
    // Only letters that are network connections: an unmapped letter has no host to compare.
    if (!row.IsMapped()) continue;
    if (HostMatches(row.host.view(), hosts, variant) && SameIgnoringAsciiCase(row.share.view(), share)) {
      location = row.drive.view();
    }
  }
  return location;
}

void FillShareList(ui::ListView& list, const std::vector<ShareName>& names, const DriveMapTable& drives,
                   platform::TextCodec& text, std::span<const std::string_view> hosts, ShareListVariant variant,
                   ShareListContent& content) {
  list.DeleteAllItems();
  content.names.clear();
  content.hosts.clear();
  // The host texts are the box's own (UTF-8), as the drive map table's are.
  content.hosts.assign(hosts.begin(), hosts.end());
  int row = 0;
  for (const ShareName& name : names) {
    if (HidesRecycleBins(variant) && name.view().starts_with(kRecycleBinPrefix)) continue;
    const ShareName shown(text.Utf8ToAnsi(name.view()));  // held in 256 bytes, as the name was
    row = list.InsertItem(row, shown.view());
    if (row < 0) return;
    list.SetItemText(row, 0, shown.view());
    list.SetItemText(row, 1, MappedLocation(drives, content.hosts, name.view(), variant));
    content.names.push_back(name.str());
    ++row;
  }
}

}  // namespace quorvel
