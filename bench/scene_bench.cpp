// One whole drawing of the race view: backdrop, pole, six horses with their
// riders (26 layer copies), the present and the overlays.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "overlays.h"
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

RaceState MidRace() {
  RaceState race;
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    Horse& h = race.Horses[i];
    h = Horse{static_cast<std::int32_t>(i), 60, 70, 80, 50, 2, 700.0 - 3.0 * static_cast<double>(i),
              static_cast<float>(i) * 90.0f, static_cast<float>(i) * 120.0f + 750.0f, 4.2, 1, kFalse};
  }
  race.Phase = kPhaseRunning;
  race.Scene = kSceneRunning;
  race.LeadPosition = 700.0;  // the pole is in the picture
  race.StartTime = 40000.0f;
  return race;
}

// The surfaces a drawing works on, as the window holds them.
struct Surfaces {
  QImage picture, work, horse, pole;
  PrintState print;
  SceneSurfaces Refs() { return SceneSurfaces{picture, print, work, horse, pole}; }
};

void BM_DrawScene(benchmark::State& state) {
  const SpriteCatalogue sprites;
  RaceState race = MidRace();
  Surfaces held;
  SceneSurfaces surfaces = held.Refs();
  BenchClock clock;
  BenchHost host;
  for (auto _ : state) {
    race.RailToggle = race.RailToggle != kFalse ? kFalse : kTrue;
    DrawScene(race, sprites, surfaces, clock, host);
    benchmark::DoNotOptimize(held.picture.constBits());
  }
}
BENCHMARK(BM_DrawScene);

// The parts of a drawing on their own: composing the frame, and the overlays.
void BM_ComposeFrame(benchmark::State& state) {
  const SpriteCatalogue sprites;
  RaceState race = MidRace();
  Surfaces held;
  SceneSurfaces surfaces = held.Refs();
  BenchHost host;
  for (auto _ : state) {
    for (Horse& h : race.Horses) AdvanceGallop(h);
    benchmark::DoNotOptimize(ComposeFrame(race, sprites, surfaces, host));
  }
}
BENCHMARK(BM_ComposeFrame);

void BM_Overlays(benchmark::State& state) {
  RaceState race = MidRace();
  QImage picture(180, 120, QImage::Format_RGB32);
  picture.fill(0);
  PrintState print;
  BenchClock clock;
  for (auto _ : state) {
    DrawOverlays(race, 0, picture, print, clock.SecondsSinceMidnight());
    benchmark::DoNotOptimize(picture.constBits());
  }
}
BENCHMARK(BM_Overlays);

}  // namespace
}  // namespace trotix

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
