// One whole drawing of the race view: backdrop, pole, six horses with their
// riders (26 layer copies), the present and the overlays; beside it the
// bound of the same copies made by plain loops over fixed arrays, run in the
// same executable so the ratio is read from one run.
#include <benchmark/benchmark.h>

#include "mid_race.h"
#include "overlays.h"
#include "scene_compositor.h"

namespace trotix {
namespace {

void BM_DrawScene(benchmark::State& state) {
  RaceState race = MidRace();
  Surface picture, work;
  SceneSurfaces surfaces{picture, work};
  DrawingClock clock;
  DrawingHost host;
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
  DrawingClock clock;
  for (auto _ : state) {
    DrawOverlays(race, 0, picture, clock.SecondsSinceMidnight());
    benchmark::DoNotOptimize(picture.data());
  }
}
BENCHMARK(BM_Overlays);


}  // namespace
}  // namespace trotix

BENCHMARK_MAIN();
