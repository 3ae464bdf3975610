// Whole races, run headless from many seeds, checked tick by tick for the
// rules every race must keep.
#include <gtest/gtest.h>

#include "field_setup.h"
#include "phase_machine.h"
#include "random_source.h"
#include "recording_host.h"

namespace trotix {
namespace {

class CountingRandom final : public RandomSource {
 public:
  explicit CountingRandom(std::uint64_t seed) : inner_(seed) {}
  void Seed(std::uint64_t seed) override { inner_.Seed(seed); }
  float Next() override {
    ++count;
    return inner_.Next();
  }
  std::size_t count = 0;

 private:
  Pcg32Random inner_;
};

// The longest race there can be: every horse at the minimum stride of
// 2.222 m needs under 920 ticks for 2020 m, plus the two still ticks.
constexpr int kTickBound = 1000;

void RunAndCheckRace(std::uint64_t seed) {
  SCOPED_TRACE(seed);
  CountingRandom random(seed);
  RaceState race;
  SetUpField(race, random, nullptr);
  testing::RecordingHost host;

  int ticks = 0;
  while (host.results == 0) {
    ASSERT_LT(++ticks, kTickBound) << "race did not end";
    const RaceState before = race;
    const std::size_t draws_before = random.count;
    host.Clear();
    RaceTick(race, random, host);

    const std::int32_t from = before.Phase;
    ASSERT_TRUE(race.Phase == from || race.Phase == from + 1) << from << " -> " << race.Phase;
    const bool moving = from >= kPhaseStart && from <= kPhaseRunOut;
    ASSERT_EQ(random.count - draws_before, moving ? kHorseCount : 0u) << "phase " << from;
    ASSERT_GE(race.LeadPosition, before.LeadPosition);
    for (std::size_t i = 0; i < kHorseCount; ++i) {
      const Horse& h = race.Horses[i];
      ASSERT_GE(h.Effort, 0.0);
      ASSERT_LE(h.Effort, 100.0);
      ASSERT_GE(h.StaminaLeft, 0.0);
      ASSERT_LE(h.StaminaLeft, before.Horses[i].StaminaLeft);
      if (moving) {
        ASSERT_GE(h.Position - before.Horses[i].Position, 2.222 - 1e-9);
      }
    }
  }
  EXPECT_EQ(race.Phase, kPhaseOver);
  EXPECT_EQ(host.results, 1);
  ASSERT_EQ(race.FinishCount, 6);
  std::array<int, kHorseCount> seen{};
  for (const FinishEntry& entry : race.FinishOrder) {
    ASSERT_GE(entry.HorseIndex, 0);
    ASSERT_LT(entry.HorseIndex, 6);
    ++seen[static_cast<std::size_t>(entry.HorseIndex)];
  }
  for (int count : seen) EXPECT_EQ(count, 1);
  EXPECT_EQ(race.FinishOrder[5].Margin, 2000.0);
}

TEST(WholeRace, ThousandSeededRacesKeepTheRules) {
  for (std::uint64_t seed = 1; seed <= 1000; ++seed) {
    RunAndCheckRace(seed);
    if (HasFatalFailure()) return;
  }
}

TEST(WholeRace, OneSeedReplaysOneRace) {
  auto run = [](std::uint64_t seed) {
    Pcg32Random random(seed);
    RaceState race;
    SetUpField(race, random, nullptr);
    testing::RecordingHost host;
    while (host.results == 0) RaceTick(race, random, host);
    return race;
  };
  const RaceState a = run(99), b = run(99);
  for (std::size_t k = 0; k < kHorseCount; ++k) {
    EXPECT_EQ(a.FinishOrder[k].HorseIndex, b.FinishOrder[k].HorseIndex);
    EXPECT_EQ(a.FinishOrder[k].Margin, b.FinishOrder[k].Margin);
  }
}

}  // namespace
}  // namespace trotix
