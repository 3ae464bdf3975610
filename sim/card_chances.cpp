#include "card_chances.h"

namespace trotix::sim {

namespace {

TrueChance TrueChanceOf(const Chance& chance) { return {chance.share, chance.interval.low, chance.interval.high}; }

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

}  // namespace trotix::sim
