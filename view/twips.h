// Places on the race picture are kept in twips, 15 to a (logical) pixel.
#pragma once

#include "numbers.h"
#include "race_state.h"

namespace trotix {

// Twips to pixels: divided by 15 and rounded to the nearest, halves to even.
inline int TwipsToPixels(double twips) { return RoundHalfEven(twips / kTwipsPerPixel); }

}  // namespace trotix
