// The arithmetic of the flat progress bar: how wide its blue part is.
#pragma once

namespace quorvel::skin {

// The width of the filled part of a bar `width` pixels wide showing `position` within lower..upper: the
// position's share of the range, truncated. Positions outside the range show an empty or a full bar; a
// range whose ends are equal shows no bar.
int ProgressFillWidth(int lower, int upper, int position, int width);

}  // namespace quorvel::skin
