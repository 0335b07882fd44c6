#include "share_names.h"

#include <algorithm>

#include "field_reader.h"

namespace quorvel {

void AppendShareNames(Bytes reply, std::vector<ShareName>& names) {
  FieldReader reader(reply);
  const auto first = reader.Next();
  if (!first) return;
  std::string_view rest = ValueText(first->value);
  while (!rest.empty()) {
    const std::size_t colon = rest.find(':');
    const std::string_view piece = rest.substr(0, colon);
    rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    if (piece.empty() || piece.size() > ShareName::kMaxLength) continue;
    const bool known = std::any_of(names.begin(), names.end(),
                                   [&](const ShareName& name) { return name.view() == piece; });
    if (!known) names.emplace_back(piece);
  }
}

}  // namespace quorvel
