#include "race_card.h"

#include <algorithm>
#include <memory>

#include "field_setup.h"
#include "numbers.h"
#include "texts.h"

namespace trotix {

bool SameCard(const RaceCard& a, const RaceCard& b) {
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    const CardHorse& x = a.horses[i];
    const CardHorse& y = b.horses[i];
    if (x.Speed != y.Speed || x.Stamina != y.Stamina || x.Style != y.Style || x.WinOdds != y.WinOdds) return false;
  }
  return a.quinella == b.quinella;
}

RaceCard CardOf(const RaceState& race) {
  RaceCard card;
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    const Horse& horse = race.Horses[i];
    card.horses[i] = {horse.Speed, horse.Stamina, horse.Style, horse.WinOdds};
  }
  card.quinella = QuinellaOddsOf(race.Horses);
  return card;
}

RaceCard NextCard(const RandomSource& random, const FieldRecords* file) {
  const std::unique_ptr<RandomSource> copy = random.Copy();
  RaceState scratch;
  SetUpField(scratch, *copy, file);
  return CardOf(scratch);
}

std::int64_t PostedTenths(double odds) {
  // A file's field may price a horse beyond any purse: held at a ceiling
  // that no payout can reach, rather than overflowing.
  constexpr std::int64_t kCeiling = 1'000'000'000'000'000;
  std::int64_t tenths = 0;
  for (const char c : FormatMask(odds, "0.0")) {
    if (c < '0' || c > '9') continue;
    if (tenths >= kCeiling / 10) return kCeiling;
    tenths = tenths * 10 + (c - '0');
  }
  return tenths;
}

std::string PairLabel(int a, int b) {
  return std::to_string(std::min(a, b) + 1) + "-" + std::to_string(std::max(a, b) + 1);
}

std::string CardText(const RaceCard& card) {
  RaceState shown;
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    const CardHorse& h = card.horses[i];
    shown.Horses[i].Speed = h.Speed;
    shown.Horses[i].Stamina = h.Stamina;
    shown.Horses[i].Style = h.Style;
    shown.Horses[i].WinOdds = h.WinOdds;
  }
  std::string text = FieldListingText(shown);
  for (int i = 0; i < static_cast<int>(kHorseCount); ++i) {
    for (int j = i + 1; j < static_cast<int>(kHorseCount); ++j) {
      const QuinellaEntry pair{card.quinella[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)],
                               PairLabel(i, j)};
      text += QuinellaLineText(pair) + "\r\n";
    }
  }
  return text;
}

}  // namespace trotix
