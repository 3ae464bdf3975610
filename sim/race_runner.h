// One race of the simulator: the game's own field setup and phase machine,
// ticked by a host that draws nothing.
#pragma once

#include <cstdint>

#include "field_file.h"
#include "race_state.h"
#include "random_source.h"
#include "track.h"

namespace trotix::sim {

// The generator seed of race `number` in a run seeded with `seed`. Every race
// draws from its own generator, so its result depends on the seed and its
// number only, never on which thread ran it or when.
std::uint64_t RaceSeed(std::uint64_t seed, std::uint64_t number);

struct RaceOutcome {
  // Ticks up to and including the one in which the winner crossed the line:
  // with punctual ticks the board shows this times 200 ms.
  int winner_ticks = 0;
  int ticks = 0;  // the whole race, up to the tick that shows the results
};

// Sets up the field (`file`, or a random field when null) and runs the race
// through to the tick that shows the results, as the game does after Run.
// `race` is reused from race to race; nothing is allocated.
RaceOutcome RunRace(RaceState& race, Pcg32Random& random, const FieldRecords* file);

}  // namespace trotix::sim
