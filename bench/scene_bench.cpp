// One whole drawing of the race view: backdrop, pole, six horses with their
// riders (26 layer copies), the present and the overlays; beside it the
// bound of the same copies made by plain loops over fixed arrays, run in the
// same executable so the ratio is read from one run.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "overlays.h"
#include "mid_race.h"
#include "scene_compositor.h"

namespace trotix {
namespace {

class BenchClock final : public Clock {
 public:
  float SecondsSinceMidnight() override { return now += 0.2f; }
  float now = 40000.0f;
};

class BenchHost final : public SceneHost {
 public:
  void DoEvents() override {}
  void CommitPicture() override {}
  void SetBarColour(std::uint32_t bgr) override { benchmark::DoNotOptimize(bgr); }
};

void BM_DrawScene(benchmark::State& state) {
  RaceState race = MidRace();
  Surface picture, work;
  SceneSurfaces surfaces{picture, work};
  BenchClock clock;
  BenchHost host;
  for (auto _ : state) {
    race.RailToggle = race.RailToggle != kFalse ? kFalse : kTrue;
    DrawScene(race, Sprites(), surfaces, clock, host);
    benchmark::DoNotOptimize(picture.data());
  }
}
BENCHMARK(BM_DrawScene);

void BM_Overlays(benchmark::State& state) {
  const RaceState race = MidRace();
  Surface picture(180, 120);
  BenchClock clock;
  for (auto _ : state) {
    DrawOverlays(race, 0, picture, clock.SecondsSinceMidnight());
    benchmark::DoNotOptimize(picture.data());
  }
}
BENCHMARK(BM_Overlays);


}  // namespace
}  // namespace trotix

BENCHMARK_MAIN();
