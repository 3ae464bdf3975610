// Whole races, run headless from many seeds, checked tick by tick for the
// rules every race must keep.
#include <gtest/gtest.h>

#include <string>

#include "field_setup.h"
#include "phase_machine.h"
#include "race_rules.h"
#include "random_source.h"
#include "recording_host.h"

namespace trotix {
namespace {

TEST(WholeRace, ThousandSeededRacesKeepTheRules) {
  for (std::uint64_t seed = 1; seed <= 1000; ++seed) {
    const std::string broken = testing::RunAndCheckRace(seed);
    ASSERT_EQ(broken, "") << "seed " << seed;
  }
}

TEST(WholeRace, OneSeedReplaysOneRace) {
  auto run = [](std::uint64_t seed) {
    Pcg32Random random(seed);
    RaceState race;
    SetUpField(race, random, nullptr);
    testing::RecordingHost host;
    while (host.results == 0) RaceTick(race, random, host);
    return race;
  };
  const RaceState a = run(99), b = run(99);
  for (std::size_t k = 0; k < kHorseCount; ++k) {
    EXPECT_EQ(a.FinishOrder[k].HorseIndex, b.FinishOrder[k].HorseIndex);
    EXPECT_EQ(a.FinishOrder[k].Margin, b.FinishOrder[k].Margin);
  }
}

}  // namespace
}  // namespace trotix
