#include "phase_machine.h"

#include "race_ticks.h"

namespace trotix {

void RaceTick(RaceState& race, RandomSource& random, RaceHost& host) { ticks::Tick(race, random, host); }

}  // namespace trotix
