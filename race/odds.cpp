#include "odds.h"

#include <algorithm>
#include <cmath>

namespace trotix {

bool PaysOnAverage(double mean_return) { return mean_return > 1.0; }

double Strength(const Horse& horse) { return horse.Speed * horse.Stamina; }

void ComputeWinOdds(RaceState& race) { ComputeWinOdds(race.Horses); }

void ComputeWinOdds(std::array<Horse, kHorseCount>& horses) {
  double total = 0.0;
  for (const Horse& horse : horses) total += Strength(horse);
  for (Horse& horse : horses) horse.WinOdds = total / Strength(horse) * kOddsFactor;
}

PairOdds QuinellaOddsOf(const std::array<Horse, kHorseCount>& horses) {
  PairOdds root{};
  double pair_total = 0.0;
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    for (std::size_t j = 0; j < kHorseCount; ++j) {
      root[i][j] = std::sqrt((horses[i].Stamina * horses[i].Speed) *
                             (horses[j].Stamina * horses[j].Speed));
      if (i < j) pair_total += root[i][j];
    }
  }
  PairOdds odds{};
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    for (std::size_t j = 0; j < kHorseCount; ++j) {
      if (i != j) odds[i][j] = pair_total / root[i][j] * kOddsFactor;
    }
  }
  return odds;
}

void ComputeQuinellaOdds(RaceState& race) {
  const PairOdds odds = QuinellaOddsOf(race.Horses);
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    for (std::size_t j = 0; j < kHorseCount; ++j) {
      if (i == j) continue;
      QuinellaEntry& entry = race.QuinellaTable[i][j];
      entry.Odds = odds[i][j];
      entry.Label = std::to_string(std::min(i, j) + 1) + "-" + std::to_string(std::max(i, j) + 1);
    }
  }
}

}  // namespace trotix
