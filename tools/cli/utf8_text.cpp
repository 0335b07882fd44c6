#include "utf8_text.h"

namespace quorvel::cli {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

struct SequenceShape {
  std::size_t length = 0;  // 0: the byte starts no sequence
  unsigned char secondLow = 0x80;
  unsigned char secondHigh = 0xBF;
};

// The well-formed byte sequences of UTF-8: length by the lead byte, and the narrower range of the
// second byte that rules out overlong forms, surrogates and code points above U+10FFFF.
SequenceShape ShapeOf(unsigned char lead) {
  if (lead < 0x80) return {1};
  if (lead >= 0xC2 && lead <= 0xDF) return {2};
  if (lead == 0xE0) return {3, 0xA0, 0xBF};
  if (lead == 0xED) return {3, 0x80, 0x9F};
  if (lead >= 0xE1 && lead <= 0xEF) return {3};
  if (lead == 0xF0) return {4, 0x90, 0xBF};
  if (lead >= 0xF1 && lead <= 0xF3) return {4};
  if (lead == 0xF4) return {4, 0x80, 0x8F};
  return {};
}

// How many bytes from `at` form one valid sequence (negative: that many bytes form the maximal
// ill-formed subpart, to be replaced as one).
long ValidSequenceAt(std::string_view bytes, std::size_t at) {
  const SequenceShape shape = ShapeOf(static_cast<unsigned char>(bytes[at]));
  if (shape.length == 0) return -1;
  for (std::size_t k = 1; k < shape.length; ++k) {
    if (at + k >= bytes.size()) return -static_cast<long>(k);
    const auto c = static_cast<unsigned char>(bytes[at + k]);
    const unsigned char low = k == 1 ? shape.secondLow : 0x80;
    const unsigned char high = k == 1 ? shape.secondHigh : 0xBF;
    if (c < low || c > high) return -static_cast<long>(k);
  }
  return static_cast<long>(shape.length);
}

bool IsControl(std::string_view sequence) {
  const auto first = static_cast<unsigned char>(sequence[0]);
  if (sequence.size() == 1) return first < 0x20 || first == 0x7F;
  // U+0080 to U+009F are C2 80 to C2 9F.
  return sequence.size() == 2 && first == 0xC2 && static_cast<unsigned char>(sequence[1]) <= 0x9F;
}

template <typename Emit>
void ForEachSequence(std::string_view bytes, Emit emit) {
  std::size_t at = 0;
  while (at < bytes.size()) {
    const long n = ValidSequenceAt(bytes, at);
    if (n > 0) {
      emit(bytes.substr(at, static_cast<std::size_t>(n)));
      at += static_cast<std::size_t>(n);
    } else {
      emit(kReplacement);
      at += static_cast<std::size_t>(-n);
    }
  }
}

}  // namespace

std::string ValidUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  ForEachSequence(bytes, [&out](std::string_view sequence) { out += sequence; });
  return out;
}

std::string PrintableText(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  ForEachSequence(bytes, [&out](std::string_view sequence) {
    if (IsControl(sequence)) out += '?';
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
