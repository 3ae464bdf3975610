// Win and quinella odds. Both have one shape: the field's total (of
// strengths, or of pair roots) over the candidate's own value, times 0.7, so
// the reciprocals of either set add up to 1 / 0.7.
#pragma once

#include <array>

#include "race_state.h"

namespace trotix {

inline constexpr double kOddsFactor = 0.7;

// Whether a ticket pays on average: one unit staked returns more than the
// unit, true chance x posted odds above 1. With the house's cut this is the
// exception: a horse (or pair) that runs better than its price. The tickets'
// worth and the lab's verdict both go by this.
bool PaysOnAverage(double mean_return);

// Strength of a horse: Speed x Stamina.
double Strength(const Horse& horse);

// WinOdds of every horse: total strength / own strength x 0.7, the division
// first. The total is summed horse 0 first.
void ComputeWinOdds(RaceState& race);
void ComputeWinOdds(std::array<Horse, kHorseCount>& horses);

// The quinella odds of pair (i, j) at [i][j] and [j][i]; the diagonal is 0.
using PairOdds = std::array<std::array<double, kHorseCount>, kHorseCount>;
PairOdds QuinellaOddsOf(const std::array<Horse, kHorseCount>& horses);

// QuinellaTable for all fifteen pairs, written at (i, j) and (j, i); the
// diagonal is never touched.
void ComputeQuinellaOdds(RaceState& race);

}  // namespace trotix
