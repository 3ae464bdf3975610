// The result board in English words, for a player who listens: the places,
// the winner's time, the margins, the odds and the quinella, as the picture
// prints them (result_board.h) but said rather than written.
#pragma once

#include <string>

#include "race_state.h"

namespace trotix {

// A margin in words: "a nose", "a head", "a neck", "half a length",
// "three quarters of a length", "1 length", "2 lengths".
std::string SpokenMargin(double metres);

// "First, horse 4, in 1 minute 59.0 seconds, at odds of 3.1; second,
// horse 6, a head behind, at odds of 5.2; …; quinella 4 and 6 at 7.6."
// The quinella table must be computed, as for the board.
std::string SpokenBoard(const RaceState& race);

}  // namespace trotix
