// A plain stand-in for the race picture while the race view still draws
// through the desktop's toolkit: each horse a bar in its saddle-cloth colour,
// and on the board the finishing order. It reads the race and never writes
// it. DrawScene and ShowResults of view/ and results/ take its place.
#pragma once

#include "race_state.h"
#include "window_surface.h"

namespace trotix::web {

// Every horse's progress: a bar from the right edge, where the field starts,
// towards the line at the left.
void DrawStandInScene(const RaceState& race, WindowSurface& window);

// The finishing order: one bar a place, longest for the winner.
void DrawStandInBoard(const RaceState& race, WindowSurface& window);

}  // namespace trotix::web
