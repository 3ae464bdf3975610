// How fast the race runs headless: one moving tick, a whole race from the
// field's setup to the board, and a long soak of seeded races checked for
// the rules every race keeps.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "field_setup.h"
#include "phase_machine.h"
#include "race_rules.h"
#include "random_source.h"
#include "silent_host.h"

namespace trotix {
namespace {

using NullHost = testing::SilentHost;

// A field in the middle of the running phase, ticked over and over; it is
// set back before it reaches the final stretch.
void BM_RunningTick(benchmark::State& state) {
  Pcg32Random random(1);
  NullHost host;
  RaceState race;
  SetUpField(race, random, nullptr);
  while (race.Phase < kPhaseRunning) RaceTick(race, random, host);
  const RaceState start = race;
  for (auto _ : state) {
    RaceTick(race, random, host);
    if (race.Phase != kPhaseRunning) {
      state.PauseTiming();
      race = start;
      state.ResumeTiming();
    }
    benchmark::DoNotOptimize(race.LeadPosition);
  }
}
BENCHMARK(BM_RunningTick);

void BM_WholeRace(benchmark::State& state) {
  Pcg32Random random(2);
  NullHost host;
  RaceState race;
  long ticks = 0;
  for (auto _ : state) {
    SetUpField(race, random, nullptr);
    host.over = false;
    while (!host.over) {
      RaceTick(race, random, host);
      ++ticks;
    }
    benchmark::DoNotOptimize(race.FinishOrder);
  }
  state.counters["ticks/race"] = benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_WholeRace);

// 100,000 seeded races, each checked tick by tick for the rules every race
// keeps (race_rules.h, the same checks as the property test).
void BM_Soak100kRaces(benchmark::State& state) {
  for (auto _ : state) {
    long broken = 0;
    for (std::uint64_t seed = 1; seed <= 100000; ++seed) {
      const std::string problem = testing::RunAndCheckRace(seed);
      if (!problem.empty()) {
        if (broken == 0) std::fprintf(stderr, "seed %llu: %s\n", static_cast<unsigned long long>(seed), problem.c_str());
        ++broken;
      }
    }
    state.counters["broken races"] = static_cast<double>(broken);
    if (broken != 0) {
      std::fprintf(stderr, "%ld of 100000 races broke a rule\n", broken);
      std::exit(1);
    }
  }
}
BENCHMARK(BM_Soak100kRaces)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace trotix
