// A box's address as it goes into a UNC path, a url, a command line or the widget's address file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// The only way to make one is Checked, which takes a plain dotted IPv4 address (IsDottedIpv4Address) and
// nothing else; so a function that takes a BoxAddress needs no check of its own, and no other text from a
// box reaches a path, a url or a command line.
class BoxAddress {
 public:
  static std::optional<BoxAddress> Checked(std::string_view text);
  const std::string& text() const { return text_; }

 private:
  explicit BoxAddress(std::string_view text) : text_(text) {}
  std::string text_;
};

}  // namespace quorvel
