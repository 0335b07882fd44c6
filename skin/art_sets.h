// The skin's pictures come in sets, one per display scale, all the same art drawn at more pixels by
// res/make_art.sh (res/art/<scale>/). res/art.rc embeds them as resources of type "PNG":
//
//   picture N (its number at 100 %, e.g. 284 for the Refresh face) of the set at index i of
//   kArtScalePercents is resource N + kArtSetStride * i   (Refresh at 150 %: 2284).
//
// A display at a scale between two sets takes the next larger set, scaled down; above the largest set
// the largest is scaled up (skin/area_scale.h).
#pragma once

#include <array>
#include <cstddef>

namespace quorvel::skin {

inline constexpr std::array<int, 5> kArtScalePercents{100, 125, 150, 175, 200};
inline constexpr int kArtSetStride = 1000;
inline constexpr int kArtBaseDpi = 96;  // the DPI of the 100 % set

// The index of the set a display of `dpi` draws from: the one drawn for its scale, else the next larger
// one, above the largest the largest. A DPI of 0 or less counts as 96.
std::size_t ArtSetFor(int dpi);

// Whether the set at `set` is drawn for exactly the scale of `dpi` (its pictures need no scaling).
bool ArtSetIsExact(std::size_t set, int dpi);

// The resource number of picture `picture` in the set at `set`.
int ArtResourceId(int picture, std::size_t set);

// A length of the 100 % art at `dpi`: length x dpi / 96, rounded half up (as make_art.sh rounds), at
// least 1 for a length of at least 1.
int ArtLength(int length100, int dpi);

}  // namespace quorvel::skin
