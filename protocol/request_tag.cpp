#include "request_tag.h"

#include <random>

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

ClientId NewRequestTag() {
  ClientId id{};
  if (FillFromSystem(id)) return id;
  // Not seen on a working system; a tag must still differ from the last one.
  std::random_device entropy;
  for (auto& byte : id) byte = static_cast<std::uint8_t>(entropy() & 0xFF);
  return id;
}

}  // namespace quorvel
