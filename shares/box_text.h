// Texts that a box sends (its share names) and that the PC reports (the remote names of its drive
// connections) are UTF-8. They are judged and compared in their wide form, never after a conversion
// to the ANSI code page, whose double-byte characters may hold any ASCII byte as their second byte.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// The UTF-16 form of a text; nothing when it is not well-formed UTF-8 (a truncated or overlong
// sequence, a surrogate, a code point above U+10FFFF, a byte that starts nothing).
std::optional<std::u16string> WideFormOf(std::string_view utf8);

// The longest front of the text of at most maxBytes bytes that does not end inside a UTF-8 sequence.
std::string_view WholeCharactersWithin(std::string_view utf8, std::size_t maxBytes);

// Both texts well-formed UTF-8 and equal in their wide form when the ASCII letters A-Z and a-z are
// taken as one (compared without building the wide forms).
bool SameIgnoringAsciiCase(std::string_view utf8a, std::string_view utf8b);

}  // namespace quorvel
