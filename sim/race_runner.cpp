#include "race_runner.h"

#include <cstdio>
#include <cstdlib>

#include "field_setup.h"
#include "figures.h"
#include "finish_stamp.h"
#include "phase_machine.h"
#include "race_ticks.h"

namespace trotix::sim {

namespace {

// Draws nothing, but stamps the finish as a drawing does, on a clock that
// reads 200 ms further at every tick, and notes the tick it happened in.
// The ticks are run with this class and the generator known to the
// compiler, so its acts cost no call.
class SimHost final : public RaceHost {
 public:
  explicit SimHost(RaceState& race) : race_(race) {}
  void SetDistanceValue(std::int32_t) override {}
  // The leader is looked for only in the one drawing that stamps the finish.
  void DrawScene() override {
    if (race_.WinnerCrossed != kFalse && StampFinish(race_, LeaderIndex(race_), BoardSeconds(tick))) {
      winner_tick = tick;
    }
  }
  void StopTimer() override {}
  void RestoreNormalPriority() override {}
  void EnableRun() override {}
  void ShowResults() override { over = true; }
  bool PlacesSprites() const override { return false; }

  int tick = 0;
  int winner_tick = 0;
  bool over = false;

 private:
  RaceState& race_;
};

std::uint64_t SplitMix64(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

}  // namespace

std::uint64_t RaceSeed(std::uint64_t seed, std::uint64_t number) {
  // SplitMix64's own stream: the state after number + 1 steps from the seed.
  return SplitMix64(seed + (number + 1) * 0x9e3779b97f4a7c15ULL);
}

RaceOutcome RunRace(RaceState& race, Pcg32Random& random, const FieldRecords* file) {
  SetUpField(race, random, file);
  race.WinnerCrossed = kFalse;
  SimHost host(race);
  while (!host.over) {
    // Every moving tick takes each horse at least 2.222 m on, so a race
    // that runs past the limit means the engine is broken: stop, in every build.
    if (++host.tick >= kTickLimit) {
      std::fprintf(stderr, "trotix-sim: a race ran past %d ticks\n", kTickLimit);
      std::abort();
    }
    ticks::Tick(race, random, host);
  }
  return {host.winner_tick, host.tick};
}

}  // namespace trotix::sim
