// The engine's counts at fixed seeds, held to the figures it gave before any
// work on its speed: a faster engine must count every race exactly as before.
#include <gtest/gtest.h>

#include <cstdint>
#include <type_traits>

#include "race_blocks.h"

namespace trotix::sim {
namespace {

// FNV-1a over every count of the tally: nothing but 64-bit counts, so its
// bytes are its counts.
std::uint64_t Checksum(const Tally& tally) {
  static_assert(sizeof(Tally) % sizeof(Count) == 0 && std::is_trivially_copyable_v<Tally>);
  const auto* bytes = reinterpret_cast<const unsigned char*>(&tally);
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (std::size_t i = 0; i < sizeof(Tally); ++i) hash = (hash ^ bytes[i]) * 0x100000001b3ULL;
  return hash;
}

Tally RunAll(const RunSetup& setup) {
  Tally tally;
  RaceState race;
  for (std::uint64_t block = 0; block < BlockCount(setup); ++block) SimulateBlock(setup, block, race, tally);
  return tally;
}

TEST(SimCounts, FixedSeedsCountAsTheyAlwaysHave) {
  RunSetup random_fields;
  random_fields.seed = 11;
  random_fields.races = 3000;
  random_fields.random_fields = true;

  RunSetup sample;  // the sample field of the benchmarks, odd styles and all
  sample.seed = 1;
  sample.races = 3000;
  sample.field = {{{80, 60, 2}, {50, 50, 1}, {70, 40, 3}, {45, 90, 4}, {60, 60, 1}, {55, 75, 2}}};

  const Tally a = RunAll(random_fields);
  const Tally b = RunAll(sample);
  EXPECT_EQ(a.races, 3000u);
  EXPECT_EQ(Checksum(a), 0x93685af3a6e164afULL);
  EXPECT_EQ(Checksum(b), 0xfd72e3e221786168ULL);
  EXPECT_EQ(b.places[0][0] + b.places[1][0] + b.places[2][0] + b.places[3][0] + b.places[4][0] + b.places[5][0], 3000u);
}

}  // namespace
}  // namespace trotix::sim
