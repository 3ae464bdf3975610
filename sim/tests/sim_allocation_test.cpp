// The simulator allocates nothing per race: a run's memory is set up before
// the first race and stays the same however many races follow.
#include <gtest/gtest.h>

#include "allocation_counter.h"

#include "random_field.h"
#include "simulation.h"

namespace trotix::sim {
namespace {

TEST(SimAllocations, RacesAllocateNothing) {
  for (const bool random_fields : {false, true}) {
    RunSetup setup;
    setup.seed = 11;
    setup.random_fields = random_fields;
    setup.field = DrawRandomField(11);
    RaceState race;
    Tally tally;
    const long before = testing::g_allocations.load();
    SimulateRaces(setup, 0, 500, race, tally);
    EXPECT_EQ(testing::g_allocations.load() - before, 0) << (random_fields ? "random fields" : "one field");
    EXPECT_EQ(tally.races, 500u);
  }
}

}  // namespace
}  // namespace trotix::sim
