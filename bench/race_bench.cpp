// How fast the race runs headless: one moving tick, a whole race from the
// field's setup to the board, and a long soak of seeded races checked for
// the rules every race keeps.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "field_setup.h"
#include "phase_machine.h"
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

// 100,000 seeded races, each checked: phases in order, every horse entered
// exactly once, effort and stamina within bounds, an end in bounded ticks.
void BM_Soak100kRaces(benchmark::State& state) {
  for (auto _ : state) {
    long broken = 0;
    NullHost host;
    for (std::uint64_t seed = 1; seed <= 100000; ++seed) {
      Pcg32Random random(seed);
      RaceState race;
      SetUpField(race, random, nullptr);
      host.over = false;
      int ticks = 0;
      std::int32_t phase = race.Phase;
      bool ok = true;
      while (!host.over && ticks < 1000) {
        const double lead = race.LeadPosition;
        RaceTick(race, random, host);
        ++ticks;
        ok = ok && (race.Phase == phase || race.Phase == phase + 1) && race.LeadPosition >= lead;
        phase = race.Phase;
        for (const Horse& h : race.Horses) ok = ok && h.Effort >= 0 && h.Effort <= 100 && h.StaminaLeft >= 0;
      }
      int seen = 0;
      for (int k = 0; k < race.FinishCount; ++k) seen |= 1 << race.FinishOrder[static_cast<std::size_t>(k)].HorseIndex;
      ok = ok && host.over && race.FinishCount == 6 && seen == 0x3f;
      broken += ok ? 0 : 1;
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
