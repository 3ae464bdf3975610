// The race clock and the panel about the leading horse, drawn straight onto
// the visible race picture in every drawing; after the winner has reached
// the line, the winner's frozen time and odds instead.
#pragma once

#include "race_state.h"
#include "surface.h"

namespace trotix {

// Draws the set for the current phase: the running clock at `now` with the
// panel about `leader` (the horse in front in this drawing), or the
// winner's frozen time and odds; nothing before the start.
void DrawOverlays(const RaceState& race, int leader, Surface& picture, float now);

}  // namespace trotix
