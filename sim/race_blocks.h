// A run's races in numbered blocks: the unit that threads (and the page's
// workers) take one at a time. Nothing here starts a thread.
#pragma once

#include <cstdint>

#include "field_file.h"
#include "tally.h"

namespace trotix::sim {

struct RunSetup {
  std::uint64_t seed = 0;
  std::uint64_t races = 0;
  bool random_fields = false;  // a fresh random field for every race
  FieldRecords field{};        // otherwise every race runs this field
};

// Small enough that two threads share even a short run, large enough that
// handing out blocks costs nothing next to the races.
inline constexpr std::uint64_t kBlockRaces = 256;

// Block b holds races b x kBlockRaces onwards; the last may be shorter.
std::uint64_t BlockCount(const RunSetup& setup);
std::uint64_t RacesInBlock(const RunSetup& setup, std::uint64_t block);

// Races first .. first + count - 1 of the run, counted into `tally`. `race`
// is scratch space, reused; nothing is allocated per race.
void SimulateRaces(const RunSetup& setup, std::uint64_t first, std::uint64_t count, RaceState& race,
                   Tally& tally);

// The races of block `block`; returns how many there were.
std::uint64_t SimulateBlock(const RunSetup& setup, std::uint64_t block, RaceState& race, Tally& tally);

}  // namespace trotix::sim
