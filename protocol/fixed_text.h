// A NUL-terminated text of a fixed byte width, as the boxes and the console keep them.
// Assigning a longer text cuts it so that the terminator always fits.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace quorvel {

template <std::size_t Width>
class FixedText {
  static_assert(Width >= 1);

 public:
  static constexpr std::size_t kWidth = Width;
  static constexpr std::size_t kMaxLength = Width - 1;

  FixedText() = default;
  FixedText(std::string_view text) { assign(text); }  // NOLINT: implicit on purpose, like a char array

  // Copies the text up to its first NUL, cut to Width - 1 bytes.
  void assign(std::string_view text) {
    text = text.substr(0, std::min(text.find('\0'), text.size()));
    const std::size_t n = std::min(text.size(), kMaxLength);
    bytes_.fill('\0');
    std::memcpy(bytes_.data(), text.data(), n);
  }
  FixedText& operator=(std::string_view text) {
    assign(text);
    return *this;
  }

  void clear() { bytes_.fill('\0'); }
  bool empty() const { return bytes_[0] == '\0'; }
  std::size_t size() const { return std::strlen(bytes_.data()); }
  const char* c_str() const { return bytes_.data(); }
  std::string_view view() const { return std::string_view(bytes_.data(), size()); }
  std::string str() const { return std::string(view()); }

  friend bool operator==(const FixedText& a, const FixedText& b) { return a.view() == b.view(); }
  friend bool operator==(const FixedText& a, std::string_view b) { return a.view() == b; }

 private:
  std::array<char, Width> bytes_{};
};

}  // namespace quorvel
