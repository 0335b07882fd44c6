// libFuzzer target for what the program does with a box's texts: the input is an address and a
// share name, split at the first NUL. Each goes through the UTF-8 judge, the wide form, the display
// conversion of a double-byte code page, the share-name and address checks, and the UNC path built
// from them. Beyond never crashing, it traps when a check breaks its promise: a name judged safe
// yields a path with exactly the separators the program put there.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "iconv_text_codec.h"
#include "protocol/utf8_rules.h"
#include "services/browser_command.h"
#include "shares/box_text.h"
#include "shares/share_paths.h"

namespace {

using namespace quorvel;

void Require(bool promise) {
  if (!promise) __builtin_trap();
}

std::size_t Count(std::string_view text, char c) {
  std::size_t n = 0;
  for (char each : text) n += each == c ? 1 : 0;
  return n;
}

// "\\", the address, "\", the name: three backslashes and no slash, in the bytes and in the wide form
// (a look-alike such as the fullwidth backslash stays a character of the name).
void RequireOnlyOurSeparators(const BoxAddress& address, std::string_view name) {
  const std::string path = ShareUncPath(address, name);
  Require(Count(path, '\\') == 3 && Count(path, '/') == 0);
  const std::optional<std::u16string> wide = WideFormOf(path);
  Require(wide.has_value());
  std::size_t backslashes = 0, slashes = 0;
  for (char16_t c : *wide) {
    backslashes += c == u'\\' ? 1 : 0;
    slashes += c == u'/' ? 1 : 0;
  }
  Require(backslashes == 3 && slashes == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static testkit::IconvTextCodec cp932("CP932");
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = input.find('\0');
  const std::string_view address = cut == std::string_view::npos ? std::string_view() : input.substr(0, cut);
  const std::string_view name = cut == std::string_view::npos ? input : input.substr(cut + 1);

  const bool wellFormed = IsWellFormedUtf8(name);
  Require(WideFormOf(name).has_value() == wellFormed);
  Require(SameIgnoringAsciiCase(name, name) == wellFormed);
  for (std::size_t limit : {std::size_t{0}, name.size() / 2, std::size_t{269}}) {
    const std::string_view front = WholeCharactersWithin(name, limit);
    Require(front.size() <= limit || front.size() == name.size());
    Require(!wellFormed || IsWellFormedUtf8(front));
  }
  const std::string shown = cp932.Utf8ToAnsi(name);  // for display only: it names nothing
  Require(shown.size() <= 2 * name.size());

  if (IsSafeShareName(name)) {
    Require(wellFormed && !name.empty() && name != "." && name != "..");
    RequireOnlyOurSeparators(*BoxAddress::Checked("192.0.2.1"), name);
    Require(IsSafeShareName(RecycleShareName(name)));
  }
  if (const std::optional<BoxAddress> mappable = MappableAddress(address, name)) {
    Require(IsDottedIpv4Address(address) && mappable->text() == address);
    Require(address.find_first_not_of("0123456789.") == std::string_view::npos);
    RequireOnlyOurSeparators(*mappable, name);
  }
  return 0;
}
