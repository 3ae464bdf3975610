// A race allocates nothing: every array has a fixed size. This binary counts
// every call of the global operator new while a whole race runs headless.
#include <gtest/gtest.h>

#include "allocation_counter.h"

#include "field_setup.h"
#include "phase_machine.h"
#include "silent_host.h"

namespace trotix {
namespace {

using testing::SilentHost;

TEST(RaceAllocations, AWholeRaceAllocatesNothing) {
  Pcg32Random random(2024);
  RaceState race;
  SilentHost host;
  for (int n = 0; n < 20; ++n) {
    SetUpField(race, random, nullptr);
    host.over = false;
    const long before = testing::g_allocations.load();
    int ticks = 0;
    while (!host.over && ticks < 2000) {
      RaceTick(race, random, host);
      ++ticks;
    }
    EXPECT_TRUE(host.over);
    EXPECT_GT(ticks, 300);
    EXPECT_EQ(testing::g_allocations.load() - before, 0) << "race " << n;
  }
}

TEST(RaceAllocations, TheCounterSeesAllocations) {
  const long before = testing::g_allocations.load();
  auto* p = new int(7);
  EXPECT_EQ(testing::g_allocations.load() - before, 1);
  delete p;
}

}  // namespace
}  // namespace trotix
