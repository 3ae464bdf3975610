// The simulator allocates nothing per race: a run's memory is set up before
// the first race and stays the same however many races follow.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "field_input.h"
#include "simulation.h"

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  ++g_allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

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
    const long before = g_allocations.load();
    SimulateRaces(setup, 0, 500, race, tally);
    EXPECT_EQ(g_allocations.load() - before, 0) << (random_fields ? "random fields" : "one field");
    EXPECT_EQ(tally.races, 500u);
  }
}

}  // namespace
}  // namespace trotix::sim
