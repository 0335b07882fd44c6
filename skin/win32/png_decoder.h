// Decoding a PNG picture held in memory with the Windows Imaging Component.
#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "skin/area_scale.h"

namespace quorvel::skin {

// The picture's pixels as 0x00RRGGBB, rows from the top; nothing when the bytes are no picture the
// component can read (or it cannot be started).
std::optional<Picture> DecodePng(std::span<const std::byte> bytes);

}  // namespace quorvel::skin
