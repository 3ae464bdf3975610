// What a run counts, race by race. Only integers: sums of integers do not
// depend on the order in which threads hand their counts in, so a seed gives
// the same figures for any number of threads.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "race_runner.h"
#include "race_state.h"

namespace trotix::sim {

using Count = std::uint64_t;

inline constexpr std::size_t kPairCount = kHorseCount * (kHorseCount - 1) / 2;
inline constexpr std::size_t kChanceBins = 20;  // the implied chance in steps of 5%
inline constexpr std::size_t kStyleCount = 4;   // styles 1..4
// An implied chance is counted in billionths, so its sums stay integers.
inline constexpr Count kChanceUnits = 1000000000;

struct Tally {
  Count races = 0;
  std::array<std::array<Count, kHorseCount>, kHorseCount> places{};  // [horse][place - 1]
  std::array<Count, kPairCount> pairs{};  // first two in either order, by PairSlot
  std::array<Count, kTickLimit> winner_ticks{};

  // The odds formula against the result, horse by horse: by the chance the
  // posted odds imply (0.7 / WinOdds) and by running style.
  std::array<Count, kChanceBins> bin_horses{};
  std::array<Count, kChanceBins> bin_wins{};
  Count favourite_wins = 0;  // shortest odds, the lower number on a tie
  std::array<Count, kStyleCount> style_horses{};
  std::array<Count, kStyleCount> style_wins{};
  std::array<Count, kStyleCount> style_chance{};  // in kChanceUnits

  void Add(const Tally& other);
};

// 0..14 for the unordered pair of two different horse indices: (0,1) is 0,
// (0,2) 1, ... (4,5) 14, the order of the quinella table.
std::size_t PairSlot(std::size_t a, std::size_t b);

// Counts one finished race.
void CountRace(Tally& tally, const RaceState& race, int winner_ticks);

// The winner's ticks at `fraction` (0.5 for the median) of the races, by
// nearest rank: the smallest count that at least that share of races reach.
int WinnerTicksAt(const Tally& tally, double fraction);

}  // namespace trotix::sim
