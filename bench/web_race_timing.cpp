// Whole seeded races timed by the race's own code, built twice: natively
// and with em++ for the browser. bench/web_bench.sh runs both in one go and
// prints the ratio. Plain timing, no benchmark library, so that the same
// source builds for both.
//
// Prints one line a figure, "name microseconds-per-race ticks-per-race".
// DrawScene joins here, timed the same way, once the view draws without a
// toolkit.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>

#include "field_setup.h"
#include "phase_machine.h"
#include "random_source.h"
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

}  // namespace
}  // namespace trotix

int main() {
  trotix::TimeWholeRaces();
  return 0;
}
