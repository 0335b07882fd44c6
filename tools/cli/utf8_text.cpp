#include "utf8_text.h"

#include "utf8_rules.h"

namespace quorvel::cli {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

bool IsControl(const Utf8Step& step) { return step.valid && IsControlCharacter(step.value); }

// Every well-formed sequence as it is, with its step; every maximal ill-formed subpart as U+FFFD.
template <typename Emit>
void ForEachSequence(std::string_view bytes, Emit emit) {
  while (!bytes.empty()) {
    const Utf8Step step = NextUtf8(bytes);
    emit(step.valid ? bytes.substr(0, step.length) : kReplacement, step);
    bytes.remove_prefix(step.length);
  }
}

}  // namespace

std::string ValidUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  ForEachSequence(bytes, [&out](std::string_view sequence, const Utf8Step&) { out += sequence; });
  return out;
}

std::string PrintableText(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  ForEachSequence(bytes, [&out](std::string_view sequence, const Utf8Step& step) {
    if (IsControl(step)) out += '?';
    else out += sequence;
  });
  return out;
}

std::size_t CodePointCount(std::string_view text) {
  std::size_t count = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

}  // namespace quorvel::cli
