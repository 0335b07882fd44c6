#include "skin/art_sets.h"

#include <algorithm>

namespace quorvel::skin {

namespace {

int DpiOrBase(int dpi) { return dpi > 0 ? dpi : kArtBaseDpi; }

}  // namespace

std::size_t ArtSetFor(int dpi) {
  const long long wanted = static_cast<long long>(DpiOrBase(dpi)) * 100;
  for (std::size_t set = 0; set < kArtScalePercents.size(); ++set) {
    if (static_cast<long long>(kArtScalePercents[set]) * kArtBaseDpi >= wanted) return set;
  }
  return kArtScalePercents.size() - 1;
}

bool ArtSetIsExact(std::size_t set, int dpi) {
  return set < kArtScalePercents.size() &&
         static_cast<long long>(kArtScalePercents[set]) * kArtBaseDpi == static_cast<long long>(DpiOrBase(dpi)) * 100;
}

int ArtResourceId(int picture, std::size_t set) { return picture + kArtSetStride * static_cast<int>(set); }

int ArtLength(int length100, int dpi) {
  if (length100 <= 0) return 0;
  const long long scaled =
      (static_cast<long long>(length100) * DpiOrBase(dpi) + kArtBaseDpi / 2) / kArtBaseDpi;
  return static_cast<int>(std::max(1LL, scaled));
}

}  // namespace quorvel::skin
