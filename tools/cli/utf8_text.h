// Texts from the boxes are bytes that ought to be UTF-8. Before they are printed they are made
// valid UTF-8, and for a terminal also free of control characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel::cli {

// The bytes with every maximal ill-formed subsequence replaced by U+FFFD, as Unicode recommends:
// a truncated sequence gives one U+FFFD, a byte that can start nothing gives one each.
std::string ValidUtf8(std::string_view bytes);

// ValidUtf8, then every C0 or C1 control character and DEL replaced by '?', so that a box's
// text cannot move the cursor or send escape sequences to a terminal.
std::string PrintableText(std::string_view bytes);

// The number of code points of a valid UTF-8 text.
std::size_t CodePointCount(std::string_view text);

}  // namespace quorvel::cli
