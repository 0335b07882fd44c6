#include "request_tag.h"

#include <atomic>
#include <chrono>

#ifdef _WIN32
#include <windows.h>
#include <ntsecapi.h>
#else
#include <cerrno>
#include <sys/random.h>
#endif

namespace quorvel {

namespace {

// True when the system's generator filled all of `id`.
bool FillFromSystem(ClientId& id) {
#ifdef _WIN32
  return RtlGenRandom(id.data(), static_cast<ULONG>(id.size())) != FALSE;
#else
  ssize_t got = -1;
  do {
    got = getrandom(id.data(), id.size(), 0);
  } while (got < 0 && errno == EINTR);
  return got == static_cast<ssize_t>(id.size());
#endif
}

}  // namespace

ClientId CountedRequestTag() {
  // A tag must differ from every other, not be secret: a count that no two calls share, mixed with the
  // clock so that two runs of the program differ too, then scrambled (splitmix64) so that tags that
  // follow each other differ in every byte. Nothing here can fail or throw.
  static std::atomic<std::uint64_t> count{0};
  const auto clock = static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  std::uint64_t value = clock + (count.fetch_add(1) + 1) * 0x9E3779B97F4A7C15ull;
  value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
  value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
  value ^= value >> 31;
  ClientId id{};
  for (auto& byte : id) {
    byte = static_cast<std::uint8_t>(value & 0xFF);
    value >>= 8;
  }
  return id;
}

ClientId NewRequestTag() {
  ClientId id{};
  if (FillFromSystem(id)) return id;
  // Not seen on a working system; a tag must still differ from the last one.
  return CountedRequestTag();
}

}  // namespace quorvel
