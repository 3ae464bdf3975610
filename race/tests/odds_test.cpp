#include "odds.h"

#include <gtest/gtest.h>

#include "numbers.h"

namespace trotix {
namespace {

RaceState FieldOf(const double (&ratings)[6][2]) {
  RaceState race;
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    race.Horses[i].Index = static_cast<int>(i);
    race.Horses[i].Speed = ratings[i][0];
    race.Horses[i].Stamina = ratings[i][1];
  }
  return race;
}

TEST(Odds, EqualStrengthsShareTheOdds) {
  RaceState race = FieldOf({{50, 40}, {40, 50}, {20, 100}, {100, 20}, {80, 25}, {25, 80}});
  ComputeWinOdds(race);
  ComputeQuinellaOdds(race);
  for (const Horse& h : race.Horses) {
    EXPECT_DOUBLE_EQ(h.WinOdds, 6 * 0.7);
    EXPECT_EQ(FormatMask(h.WinOdds, "0.0"), "4.2");
  }
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    for (std::size_t j = 0; j < kHorseCount; ++j) {
      if (i == j) continue;
      EXPECT_NEAR(race.QuinellaTable[i][j].Odds, 10.5, 1e-12);
    }
  }
}

TEST(Odds, OneStrongHorseAgainstFive) {
  RaceState race = FieldOf({{60, 50}, {50, 20}, {50, 20}, {50, 20}, {50, 20}, {50, 20}});
  ComputeWinOdds(race);
  ComputeQuinellaOdds(race);
  EXPECT_NEAR(race.Horses[0].WinOdds, 1.8667, 1e-4);
  EXPECT_EQ(FormatMask(race.Horses[0].WinOdds, "0.0"), "1.9");
  EXPECT_DOUBLE_EQ(race.Horses[1].WinOdds, 5.6);
  for (std::size_t j = 1; j < kHorseCount; ++j) {
    EXPECT_NEAR(race.QuinellaTable[0][j].Odds, 7.5415, 1e-4);
    EXPECT_EQ(FormatMask(race.QuinellaTable[0][j].Odds, "0.0"), "7.5");
  }
  EXPECT_NEAR(race.QuinellaTable[3][5].Odds, 13.0622, 1e-4);
  EXPECT_EQ(FormatMask(race.QuinellaTable[3][5].Odds, "0.0"), "13.1");
}

TEST(Odds, PairsAreLabelledSmallerNumberFirstBothWays) {
  RaceState race = FieldOf({{51, 42}, {63, 24}, {17, 88}, {95, 33}, {44, 44}, {70, 61}});
  ComputeQuinellaOdds(race);
  EXPECT_EQ(race.QuinellaTable[4][1].Label, "2-5");
  EXPECT_EQ(race.QuinellaTable[1][4].Label, "2-5");
  EXPECT_EQ(race.QuinellaTable[4][1].Odds, race.QuinellaTable[1][4].Odds);
  EXPECT_EQ(race.QuinellaTable[0][5].Label, "1-6");
  EXPECT_EQ(race.QuinellaTable[5][0].Label, "1-6");
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    EXPECT_EQ(race.QuinellaTable[i][i].Odds, 0.0);
    EXPECT_TRUE(race.QuinellaTable[i][i].Label.empty());
  }
}

TEST(Odds, ReciprocalsAddUpToTheTake) {
  RaceState race = FieldOf({{51, 42}, {63, 24}, {17, 88}, {95, 33}, {44, 44}, {70, 61}});
  ComputeWinOdds(race);
  ComputeQuinellaOdds(race);
  double win = 0.0, pairs = 0.0;
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    win += 1.0 / race.Horses[i].WinOdds;
    for (std::size_t j = i + 1; j < kHorseCount; ++j) pairs += 1.0 / race.QuinellaTable[i][j].Odds;
  }
  EXPECT_NEAR(win, 1.0 / 0.7, 1e-12);
  EXPECT_NEAR(pairs, 1.0 / 0.7, 1e-12);
}

}  // namespace
}  // namespace trotix
