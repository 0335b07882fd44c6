#include "app/share_list.h"

#include <algorithm>

namespace quorvel {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool HidesRecycleBins(ShareListVariant variant) { return variant != ShareListVariant::AfterInterfaceSwitch; }

bool HostMatches(std::string_view host, std::span<const std::string_view> hosts, ShareListVariant variant) {
  return std::any_of(hosts.begin(), hosts.end(), [&](std::string_view candidate) {
    return variant == ShareListVariant::AfterMapping ? host == candidate : EqualsIgnoringCase(host, candidate);
  });
}

}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

std::string_view MappedLocation(const DriveMapTable& drives, std::span<const std::string_view> hosts,
                                std::string_view share, ShareListVariant variant) {
  std::string_view location;
  for (const DriveMapEntry& row : drives.rows()) {
    // Only letters that are network connections: an unmapped letter has no host to compare.
    if (!row.IsMapped()) continue;
    if (HostMatches(row.host.view(), hosts, variant) && EqualsIgnoringCase(row.share.view(), share)) {
      location = row.drive.view();
    }
  }
  return location;
}

void FillShareList(ui::ListView& list, const std::vector<ShareName>& names, const DriveMapTable& drives,
                   platform::TextCodec& text, std::span<const std::string_view> hosts, ShareListVariant variant) {
  list.DeleteAllItems();
  int row = 0;
  for (const ShareName& name : names) {
    if (HidesRecycleBins(variant) && name.view().starts_with(kRecycleBinPrefix)) continue;
    const ShareName shown(text.Utf8ToAnsi(name.view()));  // held in 256 bytes, as the name was
    row = list.InsertItem(row, shown.view());
    if (row < 0) return;
    list.SetItemText(row, 0, shown.view());
    list.SetItemText(row, 1, MappedLocation(drives, hosts, shown.view(), variant));
    ++row;
  }
}

}  // namespace quorvel
