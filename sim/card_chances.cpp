#include "card_chances.h"

#include <cmath>

namespace trotix::sim {

namespace {

TrueChance TrueChanceOf(const Chance& chance) { return {chance.share, chance.interval.low, chance.interval.high}; }

// A share and its interval as read from three numbers, if they can be one.
std::optional<TrueChance> TrueChanceAt(const double* at) {
  const TrueChance chance{at[0], at[1], at[2]};
  const bool ordered = 0.0 <= chance.low && chance.low <= chance.share && chance.share <= chance.high &&
                       chance.high <= 1.0;  // false for NaN too
  if (!ordered) return std::nullopt;
  return chance;
}

}  // namespace

RunSetup CardRunSetup(const RaceCard& card, std::uint64_t seed, std::uint64_t races) {
  RunSetup setup;
  setup.seed = seed;
  setup.races = races;
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    const CardHorse& h = card.horses[i];
    setup.field[i] = {h.Speed, h.Stamina, h.Style};
  }
  return setup;
}

CardChances CardChancesOf(const RaceCard& card, const Figures& figures) {
  CardChances chances;
  chances.card = card;
  chances.races = figures.races;
  if (figures.random_fields) return chances;
  for (std::size_t a = 0; a < kHorseCount; ++a) {
    chances.win[a] = TrueChanceOf(figures.horses[a].win);
    for (std::size_t b = a + 1; b < kHorseCount; ++b) {
      chances.pair[a][b] = chances.pair[b][a] = TrueChanceOf(figures.pairs[PairSlot(a, b)].hit);
    }
  }
  return chances;
}

std::optional<CardChances> CardChancesOfNumbers(const RaceCard& card, const double* numbers) {
  const double races = numbers[0];
  if (!(races >= 1.0 && races <= 1e15) || races != std::floor(races)) return std::nullopt;
  CardChances chances;
  chances.card = card;
  chances.races = static_cast<std::uint64_t>(races);
  const double* at = numbers + 1;
  for (std::size_t h = 0; h < kHorseCount; ++h, at += 3) {
    const std::optional<TrueChance> win = TrueChanceAt(at);
    if (!win) return std::nullopt;
    chances.win[h] = *win;
  }
  for (std::size_t a = 0; a < kHorseCount; ++a) {
    for (std::size_t b = a + 1; b < kHorseCount; ++b) {
      const std::optional<TrueChance> pair = TrueChanceAt(numbers + 1 + 3 * (kHorseCount + PairSlot(a, b)));
      if (!pair) return std::nullopt;
      chances.pair[a][b] = chances.pair[b][a] = *pair;
    }
  }
  return chances;
}

}  // namespace trotix::sim
