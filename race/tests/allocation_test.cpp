// A race allocates nothing: every array has a fixed size. This binary counts
// every call of the global operator new while a whole race runs headless.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "field_setup.h"
#include "phase_machine.h"
#include "silent_host.h"

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
    const long before = g_allocations.load();
    int ticks = 0;
    while (!host.over && ticks < 2000) {
      RaceTick(race, random, host);
      ++ticks;
    }
    EXPECT_TRUE(host.over);
    EXPECT_GT(ticks, 300);
    EXPECT_EQ(g_allocations.load() - before, 0) << "race " << n;
  }
}

TEST(RaceAllocations, TheCounterSeesAllocations) {
  const long before = g_allocations.load();
  auto* p = new int(7);
  EXPECT_EQ(g_allocations.load() - before, 1);
  delete p;
}

}  // namespace
}  // namespace trotix
