#include "figures.h"

#include <algorithm>
#include <cmath>

#include "field_setup.h"
#include "numbers.h"
#include "odds.h"
#include "track.h"

namespace trotix::sim {

namespace {

constexpr double kZ95 = 1.959963984540054;  // the normal quantile for 95%

std::optional<double> Ratio(Count part, Count whole) {
  if (whole == 0) return std::nullopt;
  return static_cast<double>(part) / static_cast<double>(whole);
}

// Odds as the player reads them, to one decimal. Strengths near the top of
// the double range can overflow the field's total; such odds stay as they are.
double Posted(double odds) { return std::isfinite(odds) ? std::stod(FormatMask(odds, "0.0")) : odds; }

Chance MakeChance(Count hits, Count races, double odds) {
  Chance c;
  c.hits = hits;
  c.share = Ratio(hits, races).value_or(0.0);
  c.interval = WilsonInterval95(hits, races);
  if (hits > 0) c.fair_odds = 1.0 / c.share;
  c.posted_odds = Posted(odds);
  if (odds > 0.0 && std::isfinite(odds)) c.implied = kOddsFactor / odds;
  c.stake_return = c.share * c.posted_odds;
  c.return_interval = {c.interval.low * c.posted_odds, c.interval.high * c.posted_odds};
  return c;
}

}  // namespace

Interval WilsonInterval95(Count hits, Count n) {
  if (n == 0) return {0.0, 1.0};
  const double trials = static_cast<double>(n);
  const double p = static_cast<double>(hits) / trials;
  const double z2 = kZ95 * kZ95;
  const double centre = (p + z2 / (2.0 * trials)) / (1.0 + z2 / trials);
  const double half = kZ95 / (1.0 + z2 / trials) * std::sqrt(p * (1.0 - p) / trials + z2 / (4.0 * trials * trials));
  // At the edges the bound is the edge itself, not a rounding away from it.
  return {hits == 0 ? 0.0 : std::max(0.0, centre - half), hits == n ? 1.0 : std::min(1.0, centre + half)};
}

Pricing PricingOf(const Chance& c) {
  if (!(c.implied > 0.0)) return Pricing::kWithin;
  if (c.interval.low > c.implied) return Pricing::kUnderpriced;
  if (c.interval.high < c.implied) return Pricing::kOverpriced;
  return Pricing::kWithin;
}

Payoff PayoffOf(const Chance& c) { return PaysOnAverage(c.stake_return) ? Payoff::kPays : Payoff::kCosts; }

float BoardSeconds(int ticks) { return static_cast<float>(ticks) * static_cast<float>(kTickSeconds); }

Figures ComputeFigures(const RunSetup& setup, const Tally& tally) {
  Figures f;
  f.seed = setup.seed;
  f.races = tally.races;
  f.random_fields = setup.random_fields;

  if (!setup.random_fields) {
    // The posted odds of the field, by the game's own formulas.
    RaceState field;
    Pcg32Random unused;
    SetUpField(field, unused, &setup.field);
    ComputeQuinellaOdds(field);
    for (std::size_t h = 0; h < kHorseCount; ++h) {
      const Horse& horse = field.Horses[h];
      HorseFigures& out = f.horses[h];
      out.number = static_cast<int>(h) + 1;
      out.speed = horse.Speed;
      out.stamina = horse.Stamina;
      out.style = horse.Style;
      out.win = MakeChance(tally.places[h][0], tally.races, horse.WinOdds);
      Count place_sum = 0;
      for (std::size_t p = 0; p < kHorseCount; ++p) place_sum += tally.places[h][p] * (p + 1);
      out.mean_place = Ratio(place_sum, tally.races).value_or(0.0);
    }
    for (std::size_t a = 0; a < kHorseCount; ++a) {
      for (std::size_t b = a + 1; b < kHorseCount; ++b) {
        const QuinellaEntry& entry = field.QuinellaTable[a][b];
        PairFigures& out = f.pairs[PairSlot(a, b)];
        out.label = entry.Label;
        out.hit = MakeChance(tally.pairs[PairSlot(a, b)], tally.races, entry.Odds);
      }
    }
  }

  f.winner_time = {BoardSeconds(WinnerTicksAt(tally, 0.05)), BoardSeconds(WinnerTicksAt(tally, 0.5)),
                   BoardSeconds(WinnerTicksAt(tally, 0.95))};

  for (std::size_t b = 0; b < kChanceBins; ++b) {
    constexpr int kStep = 100 / static_cast<int>(kChanceBins);
    f.bins[b] = {static_cast<int>(b) * kStep, static_cast<int>(b + 1) * kStep, tally.bin_horses[b],
                 tally.bin_wins[b], Ratio(tally.bin_wins[b], tally.bin_horses[b])};
  }
  f.favourite = MakeChance(tally.favourite_wins, tally.races, 0.0);
  for (std::size_t s = 0; s < kStyleCount; ++s) {
    StyleFigures& out = f.styles[s];
    out.style = static_cast<std::int32_t>(s) + 1;
    out.horses = tally.style_horses[s];
    out.wins = tally.style_wins[s];
    out.win_share = Ratio(out.wins, out.horses);
    if (out.horses > 0) {
      out.implied_share = static_cast<double>(tally.style_chance[s]) /
                          (static_cast<double>(kChanceUnits) * static_cast<double>(out.horses));
    }
  }
  return f;
}

}  // namespace trotix::sim
