// How fast trotix-sim races a file field: races per second on one thread
// and on two. A run of the whole command for a million races is timed with
// /usr/bin/time (see the README).
#include <benchmark/benchmark.h>

#include "field_file.h"
#include "simulation.h"

namespace trotix::sim {
namespace {

// The README's sample field.
constexpr const char* kSampleField = "80\t60\t2\n50\t50\t1\n70\t40\t3\n45\t90\t4\n60\t60\t1\n55\t75\t2\n";
constexpr std::uint64_t kRacesPerRun = 4096;

void BM_SimFileField(benchmark::State& state) {
  RunSetup setup;
  setup.races = kRacesPerRun;
  setup.field = ParseFieldFile(kSampleField, true).horses;
  const auto threads = static_cast<unsigned>(state.range(0));
  for (auto _ : state) {
    ++setup.seed;
    const RunResult result = Simulate(setup, threads, nullptr);
    benchmark::DoNotOptimize(result.tally.places);
  }
  state.counters["races/s"] = benchmark::Counter(static_cast<double>(kRacesPerRun) * static_cast<double>(state.iterations()),
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SimFileField)->ArgName("threads")->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace trotix::sim
