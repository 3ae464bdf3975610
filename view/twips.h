// Places on the race picture are kept in twips, 15 to a (logical) pixel.
#pragma once

#include "numbers.h"
#include "race_state.h"

namespace trotix {

// Twips to pixels: divided by 15 and rounded to the nearest, halves to even.
// A place beyond the int32 range is held at its end and a NaN gives 0, so no
// value, however it came about, reaches an undefined conversion.
inline int TwipsToPixels(double twips) { return RoundHalfEven(twips / kTwipsPerPixel); }

}  // namespace trotix
