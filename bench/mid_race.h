// What the drawing benchmarks share: a field in mid-race, with the pole in
// the picture, and the bitmaps.
#pragma once

#include "race_state.h"
#include "sprite_catalogue.h"

namespace trotix {

RaceState MidRace();
const SpriteCatalogue& Sprites();

}  // namespace trotix
