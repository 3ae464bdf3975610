// Places on the race picture are kept in twips, 15 to a (logical) pixel.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "race_state.h"

namespace trotix {

// Twips to pixels: divided by 15 and rounded to the nearest, halves to even.
// A place beyond the int32 range is held at its end and a NaN gives 0, so no
// value, however it came about, reaches an undefined conversion.
inline int TwipsToPixels(double twips) {
  const double pixels = std::nearbyint(twips / kTwipsPerPixel);
  if (std::isnan(pixels)) return 0;
  constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
  constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
  return static_cast<int>(std::clamp(pixels, kLowest, kHighest));
}

}  // namespace trotix
