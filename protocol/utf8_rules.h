// The rules for texts that boxes send, in one place: what well-formed UTF-8 is, which characters are
// control characters, and how ASCII letters fold. The console, the shares and the command line judge
// box texts by these and no others.
#pragma once

#include <cstddef>
#include <string_view>

namespace quorvel {

// One step through UTF-8 bytes. valid: `length` bytes form one well-formed sequence of `value`.
// Not valid: `length` bytes (at least 1) form the maximal ill-formed subpart there (a truncated or
// overlong sequence, a surrogate, a code point above U+10FFFF, a byte that starts nothing), which a
// reader replaces as one.
struct Utf8Step {
  char32_t value = 0;
  std::size_t length = 0;
  bool valid = false;
};

// The step at the front of non-empty bytes.
Utf8Step NextUtf8(std::string_view bytes);

bool IsWellFormedUtf8(std::string_view bytes);

// A C0 or C1 control character, or DEL.
bool IsControlCharacter(char32_t c);

// A-Z as a-z; every other byte as it is.
char LowerAscii(char c);

// The same bytes when the ASCII letters A-Z and a-z are taken as one. On well-formed UTF-8 this is
// the comparison of the texts' characters with ASCII case folded (no byte of a multi-byte
// sequence is ASCII).
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace quorvel
