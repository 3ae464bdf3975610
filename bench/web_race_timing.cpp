// Whole seeded races, and one drawing of a field in mid-race as
// bench/scene_bench.cpp's BM_DrawScene makes it, timed by plain clocks and
// built twice: natively and with em++ for the browser. bench/web_bench.sh
// runs both in one go and prints the ratios. No benchmark library, so that
// the same source builds for both.
//
// Prints one line a figure: "whole_race MICROSECONDS TICKS (winners SUM)"
// and "draw_scene MICROSECONDS (pixels SUM)", a median round each; the sums
// show that both builds did the same work.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>

#include "field_setup.h"
#include "mid_race.h"
#include "phase_machine.h"
#include "random_source.h"
#include "scene_compositor.h"
#include "silent_host.h"

namespace trotix {
namespace {

constexpr int kRacesPerRound = 2000;
constexpr int kRounds = 7;

// Field setup to the board, kRacesPerRound times; the median round.
void TimeWholeRaces() {
  Pcg32Random random(2);
  testing::SilentHost host;
  RaceState race;
  std::array<double, kRounds> per_race{};
  std::int64_t ticks = 0;
  std::int64_t winners = 0;  // used, so no race is optimised away
  for (double& round : per_race) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRacesPerRound; ++i) {
      SetUpField(race, random, nullptr);
      host.over = false;
      while (!host.over) {
        RaceTick(race, random, host);
        ++ticks;
      }
      winners += race.FinishOrder[0].HorseIndex;
    }
    const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
    round = spent.count() / kRacesPerRound;
  }
  std::sort(per_race.begin(), per_race.end());
  std::printf("whole_race %.2f %.0f (winners %lld)\n", per_race[kRounds / 2],
              static_cast<double>(ticks) / (kRacesPerRound * kRounds), static_cast<long long>(winners));
}

constexpr int kDrawingsPerRound = 2000;

// DrawScene on the mid-race field, the rail toggling as it does at a
// gallop, kDrawingsPerRound times; the median round.
void TimeDrawScene() {
  RaceState race = MidRace();
  Surface picture, work;
  SceneSurfaces surfaces{picture, work};
  DrawingClock clock;
  DrawingHost host;
  std::array<double, kRounds> per_drawing{};
  std::uint64_t pixels = 0;  // read back, so no drawing is optimised away
  for (double& round : per_drawing) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kDrawingsPerRound; ++i) {
      race.RailToggle = race.RailToggle != kFalse ? kFalse : kTrue;
      DrawScene(race, Sprites(), surfaces, clock, host);
      pixels += picture.At(i % picture.width(), 60);
    }
    const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
    round = spent.count() / kDrawingsPerRound;
  }
  std::sort(per_drawing.begin(), per_drawing.end());
  std::printf("draw_scene %.2f (pixels %llu)\n", per_drawing[kRounds / 2],
              static_cast<unsigned long long>(pixels + host.colours));
}

}  // namespace
}  // namespace trotix

int main() {
  trotix::TimeWholeRaces();
  trotix::TimeDrawScene();
  return 0;
}
