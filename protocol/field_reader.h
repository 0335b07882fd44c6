// Walks the typed fields of a reply without ever reading outside the datagram.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "packet.h"

namespace quorvel {

struct Field {
  std::uint16_t code = 0;
  Bytes value;  // length - 4 bytes, inside the datagram
};

// Yields the fields from byte 44 on. The walk stops at a field whose length is below 4 or that
// runs past the end of the datagram.
class FieldReader {
 public:
  explicit FieldReader(Bytes datagram) : data_(datagram), position_(HEADER_SIZE) {}
  std::optional<Field> Next();

 private:
  Bytes data_;
  std::size_t position_;
};

// A value as text: its bytes up to the first NUL (the sender's padding) or its end.
std::string_view ValueText(Bytes value);

// Reads a decimal number as the boxes write it: leading blanks, an optional sign, digits up to the
// first non-digit; no digits read as 0. Values beyond 32 bits are held at the nearest limit.
std::int32_t ReadNumber(std::string_view text);

}  // namespace quorvel
