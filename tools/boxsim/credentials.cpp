#include "credentials.h"

#include <algorithm>

#include "field_reader.h"

namespace quorvel::boxsim {

namespace {

int SextetOf(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

std::string Base64Decode(std::string_view code) {
  std::string out;
  unsigned bits = 0;
  int pending = 0;  // bits collected in `bits` that are not yet a whole byte
  for (char c : code) {
    const int sextet = SextetOf(c);
    if (sextet < 0) break;
    bits = (bits << 6) | static_cast<unsigned>(sextet);
    pending += 6;
    if (pending >= 8) {
      pending -= 8;
      out += static_cast<char>((bits >> pending) & 0xFF);
    }
  }
  return out;
}

std::string DecodeCredentialSlot(Bytes slot) {
  return Base64Decode(ValueText(slot.first(std::min(slot.size(), AUTH_SLOT_SIZE))));
}

}  // namespace quorvel::boxsim
