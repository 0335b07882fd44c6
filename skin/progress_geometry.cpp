#include "skin/progress_geometry.h"

#include <algorithm>

namespace quorvel::skin {

int ProgressFillWidth(int lower, int upper, int position, int width) {
  if (upper == lower || width <= 0) return 0;
  const double fill = (static_cast<double>(position) - lower) * width / (static_cast<double>(upper) - lower);
  return static_cast<int>(std::clamp(fill, 0.0, static_cast<double>(width)));
}

}  // namespace quorvel::skin
