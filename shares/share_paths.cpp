#include "shares/share_paths.h"

#include <algorithm>
#include <optional>

#include "protocol/utf8_rules.h"
#include "shares/box_text.h"

namespace quorvel {

std::string RecycleShareName(std::string_view volume) {
  std::string name(kRecycleSharePrefix);
  name += volume;
  return name;
}

std::string ShareUncPath(const BoxAddress& address, std::string_view share) {
  std::string path("\\\\");
  path += address.text();
  path += '\\';
  path += share;
  return path;
}

namespace {

// A character that may not stand in a share's name: a separator of the path, or a C0 or C1 control
// character (DEL included).
bool IsForbidden(char16_t c) { return c == u'\\' || c == u'/' || IsControlCharacter(c); }

}  // namespace

bool IsSafeShareName(std::string_view name) {
  const std::optional<std::u16string> wide = WideFormOf(name);
  if (!wide || wide->empty() || *wide == u"." || *wide == u"..") return false;
  return std::none_of(wide->begin(), wide->end(), IsForbidden);
}

std::optional<BoxAddress> MappableAddress(std::string_view address, std::string_view volume) {
  if (!IsSafeShareName(volume)) return std::nullopt;
  return BoxAddress::Checked(address);
}

}  // namespace quorvel
