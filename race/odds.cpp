#include "odds.h"

#include <algorithm>
#include <cmath>

namespace trotix {

double Strength(const Horse& horse) { return horse.Speed * horse.Stamina; }

void ComputeWinOdds(RaceState& race) {
  double total = 0.0;
  for (const Horse& horse : race.Horses) total += Strength(horse);
  for (Horse& horse : race.Horses) horse.WinOdds = total / Strength(horse) * kOddsFactor;
}

void ComputeQuinellaOdds(RaceState& race) {
  const auto& horses = race.Horses;
  std::array<std::array<double, kHorseCount>, kHorseCount> root{};
  double pair_total = 0.0;
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    for (std::size_t j = 0; j < kHorseCount; ++j) {
      root[i][j] = std::sqrt((horses[i].Stamina * horses[i].Speed) *
                             (horses[j].Stamina * horses[j].Speed));
      if (i < j) pair_total += root[i][j];
    }
  }
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    for (std::size_t j = 0; j < kHorseCount; ++j) {
      if (i == j) continue;
      QuinellaEntry& entry = race.QuinellaTable[i][j];
      entry.Odds = pair_total / root[i][j] * kOddsFactor;
      entry.Label = std::to_string(std::min(i, j) + 1) + "-" + std::to_string(std::max(i, j) + 1);
    }
  }
}

}  // namespace trotix
