#include "tally.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "odds.h"

namespace trotix::sim {

namespace {

template <typename Array>
void AddArray(Array& into, const Array& from) {
  for (std::size_t i = 0; i < into.size(); ++i) into[i] += from[i];
}

}  // namespace

void Tally::Add(const Tally& other) {
  races += other.races;
  for (std::size_t h = 0; h < kHorseCount; ++h) AddArray(places[h], other.places[h]);
  AddArray(pairs, other.pairs);
  AddArray(winner_ticks, other.winner_ticks);
  AddArray(bin_horses, other.bin_horses);
  AddArray(bin_wins, other.bin_wins);
  favourite_wins += other.favourite_wins;
  AddArray(style_horses, other.style_horses);
  AddArray(style_wins, other.style_wins);
  AddArray(style_chance, other.style_chance);
}

std::size_t PairSlot(std::size_t a, std::size_t b) {
  assert(a != b && a < kHorseCount && b < kHorseCount);
  if (a > b) std::swap(a, b);
  // Pairs before row a, then the place of b within it.
  return a * (2 * kHorseCount - a - 1) / 2 + (b - a - 1);
}

void CountRace(Tally& tally, const RaceState& race, int winner_ticks) {
  assert(race.FinishCount == static_cast<std::int32_t>(kHorseCount));
  ++tally.races;
  for (std::size_t place = 0; place < kHorseCount; ++place) {
    ++tally.places[static_cast<std::size_t>(race.FinishOrder[place].HorseIndex)][place];
  }
  const auto winner = static_cast<std::size_t>(race.FinishOrder[0].HorseIndex);
  const auto second = static_cast<std::size_t>(race.FinishOrder[1].HorseIndex);
  ++tally.pairs[PairSlot(winner, second)];
  ++tally.winner_ticks[static_cast<std::size_t>(std::clamp(winner_ticks, 0, kTickLimit - 1))];

  std::size_t favourite = 0;
  for (std::size_t h = 0; h < kHorseCount; ++h) {
    const Horse& horse = race.Horses[h];
    if (horse.WinOdds < race.Horses[favourite].WinOdds) favourite = h;
    const bool won = h == winner;
    const double chance = kOddsFactor / horse.WinOdds;
    const auto bin = std::min(static_cast<std::size_t>(chance * kChanceBins), kChanceBins - 1);
    ++tally.bin_horses[bin];
    tally.bin_wins[bin] += won ? 1 : 0;
    if (horse.Style >= 1 && horse.Style <= static_cast<std::int32_t>(kStyleCount)) {
      const auto s = static_cast<std::size_t>(horse.Style - 1);
      ++tally.style_horses[s];
      tally.style_wins[s] += won ? 1 : 0;
      tally.style_chance[s] += static_cast<Count>(std::llround(chance * static_cast<double>(kChanceUnits)));
    }
  }
  tally.favourite_wins += favourite == winner ? 1 : 0;
}

int WinnerTicksAt(const Tally& tally, double fraction) {
  if (tally.races == 0) return 0;
  const auto rank = std::max<Count>(1, static_cast<Count>(std::ceil(fraction * static_cast<double>(tally.races))));
  Count seen = 0;
  for (std::size_t t = 0; t < tally.winner_ticks.size(); ++t) {
    seen += tally.winner_ticks[t];
    if (seen >= rank) return static_cast<int>(t);
  }
  return kTickLimit - 1;
}

}  // namespace trotix::sim
