// The race card: the field that the next Run races, with the odds a ticket
// is bought at. With a horse data file it is the file's field; with a random
// field it is the one the next Run will draw, found by setting the field up
// on a copy of the random source, so the game's own draws stay untouched.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "field_file.h"
#include "odds.h"
#include "race_state.h"
#include "random_source.h"

namespace trotix {

struct CardHorse {
  double Speed;
  double Stamina;
  std::int32_t Style;
  double WinOdds;
};

struct RaceCard {
  std::array<CardHorse, kHorseCount> horses{};
  PairOdds quinella{};  // (i, j) and (j, i) alike; the diagonal is 0
};

// Whether two cards are the same field at the same odds: every horse's
// ratings, style and odds, and every pair's odds.
bool SameCard(const RaceCard& a, const RaceCard& b);

// The card of the field now in `race`, with the odds the result board posts.
RaceCard CardOf(const RaceState& race);

// The card of the field the next Run sets up from `random` as it now stands
// and from `file` (null for a random field). `random` is not drawn from.
RaceCard NextCard(const RandomSource& random, const FieldRecords* file);

// Odds as posted, in tenths: the number OddsText shows, so the shown
// rounding (half away from zero on the decimal form) decides. x7.45 is 75.
std::int64_t PostedTenths(double odds);

// The card as text, in the game's formats: six lines
// "【n】Sp:000  St:000  g  x0.0", then the fifteen pairs as
// "馬連: 1-2  x0.0", each line ended by CR LF.
std::string CardText(const RaceCard& card);

// "1-2" for a pair of horse indices, the lower number first.
std::string PairLabel(int a, int b);

}  // namespace trotix
