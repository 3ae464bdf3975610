#include "race_blocks.h"

#include <algorithm>

namespace trotix::sim {

std::uint64_t BlockCount(const RunSetup& setup) { return (setup.races + kBlockRaces - 1) / kBlockRaces; }

std::uint64_t RacesInBlock(const RunSetup& setup, std::uint64_t block) {
  const std::uint64_t first = block * kBlockRaces;
  return first >= setup.races ? 0 : std::min(kBlockRaces, setup.races - first);
}

void SimulateRaces(const RunSetup& setup, std::uint64_t first, std::uint64_t count, RaceState& race,
                   Tally& tally) {
  const FieldRecords* field = setup.random_fields ? nullptr : &setup.field;
  for (std::uint64_t n = first; n < first + count; ++n) {
    Pcg32Random random(RaceSeed(setup.seed, n));
    const RaceOutcome outcome = RunRace(race, random, field);
    CountRace(tally, race, outcome.winner_ticks);
  }
}

std::uint64_t SimulateBlock(const RunSetup& setup, std::uint64_t block, RaceState& race, Tally& tally) {
  const std::uint64_t count = RacesInBlock(setup, block);
  SimulateRaces(setup, block * kBlockRaces, count, race, tally);
  return count;
}

}  // namespace trotix::sim
